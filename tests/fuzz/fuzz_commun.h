// Shared by the fuzzing harnesses: the Qt application they need for fonts, and the
// drawing of what a reader produced the way the map draws it, so that odd values
// read from a file go through the renderers and readouts too.
#pragma once

#include "data/records.h"
#include "ui/bitmap32.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fuzz {

// A QGuiApplication on the offscreen platform (once per process).
void initialiser();

inline QByteArray octets(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Stops the run (a finding) when a property that must hold does not.
void verifier(bool condition, const char* quoi);

// The layers of a 360 x 180 map, unshifted and shifted, and the readouts of the
// panel for the first records.
void dessinerSeismes(const std::vector<TSeisme>& seismes);
void dessinerVolcans(const std::vector<TVolcan>& volcans);
void dessinerStations(const std::vector<TStationGPS>& stations);

// A decoded picture stretched onto small bitmaps; a small one also goes through
// the lossless encoders and must come back unchanged.
void dessinerImage(const TBitmap32& image);

// Runs a decoder: a failure must leave the target untouched and say why, a
// success is drawn.
using Decodeur = bool (*)(const QByteArray&, TBitmap32&, QString*);
void essayerDecodeur(Decodeur decodeur, const QByteArray& donnees);

} // namespace fuzz
