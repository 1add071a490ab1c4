// Regular longitude/latitude grids read from raster files (netCDF, GeoTIFF, ESRI
// ASCII...) through GDAL, kept north row first, and sampled at any position.
#pragma once

#include <QString>

#include <cmath>
#include <vector>

struct Grille {
    int nx = 0, ny = 0;
    // Geographic position of the centre of cell (0, 0) (the north-west corner
    // cell) and the steps, in degrees; rows go south (lat0 - row * dlat).
    double lon0 = 0, lat0 = 0, dlon = 0, dlat = 0;
    std::vector<float> v;  // ny rows of nx values; NaN where there is no data

    bool vide() const { return nx <= 0 || ny <= 0; }
    float at(int col, int row) const { return v[static_cast<std::size_t>(row) * nx + col]; }
    // True when the columns cover the whole circle of longitude (so sampling wraps).
    bool globaleEnLongitude() const { return std::fabs(nx * dlon - 360.0) < dlon * 0.51 || std::fabs((nx - 1) * dlon - 360.0) < dlon * 0.01; }

    // Bilinear value at (lat, lon) degrees; NaN outside or where a corner is NaN.
    double bilineaire(double lat, double lon) const;
    // Smooth (Catmull-Rom bicubic) value at (lat, lon): continuous slopes, for
    // shading pictures finer than the grid; NaN outside or near missing values.
    double bicubique(double lat, double lon) const;
    // Value of the nearest node; NaN outside.
    double proche(double lat, double lon) const;
};

// Reads band 1 of a raster file. Values equal to the no-data value become NaN;
// a scale factor and offset are applied. Files compressed with bzip2 (".bz2") are
// unpacked to a temporary file first. False with a French message naming the file
// on failure (missing, unreadable, not a longitude/latitude grid, truncated).
bool lireGrille(const QString& chemin, Grille& g, QString* message);

// Checks the grid's size; false with a message naming the file otherwise.
bool verifierTaille(const Grille& g, const QString& chemin, int nx, int ny, QString* message);
