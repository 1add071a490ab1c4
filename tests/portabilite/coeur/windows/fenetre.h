// Windows code is not part of the core: its headers are not checked.
#pragma once

#include <dirent.h>
