# Compresses ENTREE into SORTIE (gzip), as manual pages are installed.
#   cmake -DENTREE=<file> -DSORTIE=<file.gz> -P cmake/Gzip.cmake
cmake_minimum_required(VERSION 3.22)
file(ARCHIVE_CREATE OUTPUT "${SORTIE}" PATHS "${ENTREE}" FORMAT raw COMPRESSION GZip)
