// A core header that the portability check must refuse: an unguarded POSIX header.
#pragma once

#include <QString>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/types.h> // guarded: allowed
#endif

#include <unistd.h>
