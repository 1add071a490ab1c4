// Earthquake, volcano and GPS station records and the process-wide stores.
//
// The field order, widths and encodings of these records are those of the binary
// files (.fse, .fvo, .gps): files written by other installations must load.
#pragma once

#include <QString>

#include <cstdint>
#include <cstring>
#include <vector>

// A short string of capacity N: a length byte and N single-byte characters in
// Windows code page 1252; only the first Len characters are meaningful.
template <int N>
struct ShortString {
    std::uint8_t Len = 0;
    char Ch[N] = {};

    static constexpr int capacity = N;

    // Raw bytes (cp1252), at most N kept.
    void assignBytes(const char* bytes, int count)
    {
        if (count < 0)
            count = 0;
        if (count > N)
            count = N;
        Len = static_cast<std::uint8_t>(count);
        std::memset(Ch, 0, sizeof Ch);
        if (count > 0)
            std::memcpy(Ch, bytes, static_cast<std::size_t>(count));
    }
    QByteArray bytes() const { return QByteArray(Ch, Len > N ? N : Len); }
    bool operator==(const ShortString& o) const { return bytes() == o.bytes(); }
};

// Conversions between Unicode text and Windows code page 1252 (characters with no
// cp1252 code become '?').
QByteArray toCp1252(const QString& text);
QString fromCp1252(const QByteArray& bytes);

template <int N>
QString shortToQString(const ShortString<N>& s)
{
    return fromCp1252(s.bytes());
}
template <int N>
void assignShort(ShortString<N>& s, const QString& text)
{
    const QByteArray b = toCp1252(text);
    s.assignBytes(b.constData(), static_cast<int>(b.size()));
}

struct TSeisme {
    double DateHeure = 0;  // days since 30 December 1899, fraction = time of day
    float Latitude = 0;    // degrees, north positive
    float Longitude = 0;   // degrees, east positive
    float Profondeur = 0;  // focal depth, km, positive downwards
    float Magnitude = 0;
};

struct TVolcan {
    ShortString<25> Nom;
    float Latitude = 0;
    float Longitude = 0;
    float Altitude = 0;    // metres; -10000 or less means unknown
    std::uint8_t TypeVolcan = 0;
    std::uint8_t Activite = 0;
};

struct TStationGPS {
    ShortString<5> Nom;
    std::int16_t Rang = 0;     // index in TabStations, -1 when excluded by the table filter
    std::uint8_t Affiche = 0;  // 1: the velocity vector is drawn
    double Latitude = 0;
    double Longitude = 0;
    double Altitude = 0;
    double IncLatitude = 0;
    double IncLongitude = 0;
    double IncAltitude = 0;
    double VitLat = 0;         // north velocity, mm/an
    double VitLong = 0;        // east velocity, mm/an
    double VitAlt = 0;         // vertical velocity, mm/an
    double IncVitLat = 0;
    double IncVitLong = 0;
    double IncVitAlt = 0;
};
