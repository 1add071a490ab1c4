# Lists the system headers included by the headless core (every folder of src/
# except the windows/ subfolders) and fails on those that exist only on POSIX
# systems, so that the core keeps building with Qt and the standard library
# alone (a Windows build included). A header included under a platform test
# (#ifdef __linux__, #if defined(_WIN32) ...) is listed as such and allowed.
#
#   cmake -DSOURCES=<repository>/src -P cmake/EnTetesSysteme.cmake
cmake_minimum_required(VERSION 3.22)
if(NOT SOURCES)
  message(FATAL_ERROR "EnTetesSysteme.cmake: -DSOURCES=<dossier src> est obligatoire")
endif()

# Headers of POSIX (or of one Unix) that a Windows compiler does not provide.
set(_posix
  unistd.h fcntl.h dirent.h pthread.h dlfcn.h signal.h termios.h pwd.h grp.h poll.h
  syslog.h libgen.h glob.h fnmatch.h spawn.h semaphore.h sched.h strings.h utime.h
  netdb.h execinfo.h)
set(_posixDossiers sys/ netinet/ arpa/ linux/ mach/)

get_filename_component(SOURCES "${SOURCES}" ABSOLUTE)
file(GLOB_RECURSE _fichiers LIST_DIRECTORIES false "${SOURCES}/*.cpp" "${SOURCES}/*.h")
list(FILTER _fichiers EXCLUDE REGEX "/windows/")
list(FILTER _fichiers EXCLUDE REGEX "/main\\.cpp$")

set(_tous "")
set(_fautes "")
foreach(_f IN LISTS _fichiers)
  file(RELATIVE_PATH _nom "${SOURCES}" "${_f}")
  file(STRINGS "${_f}" _lignes REGEX "^[ \t]*#[ \t]*(if|ifdef|ifndef|elif|else|endif|include)")
  # The stack of conditionals: 1 for a platform test, 0 for any other.
  set(_pile "")
  foreach(_l IN LISTS _lignes)
    if(_l MATCHES "^[ \t]*#[ \t]*(if|ifdef|ifndef)[ \t(]")
      if(_l MATCHES "(__linux__|__unix__|__APPLE__|_WIN32|_WIN64|_MSC_VER|__MINGW32__|_POSIX_VERSION|Q_OS_)")
        list(APPEND _pile 1)
      else()
        list(APPEND _pile 0)
      endif()
    elseif(_l MATCHES "^[ \t]*#[ \t]*endif")
      list(LENGTH _pile _n)
      if(_n GREATER 0)
        list(REMOVE_AT _pile -1)
      endif()
    elseif(_l MATCHES "^[ \t]*#[ \t]*include[ \t]*<([^>]+)>")
      set(_h "${CMAKE_MATCH_1}")
      # Qt's own headers are portable by construction.
      if(_h MATCHES "^Q")
        continue()
      endif()
      set(_garde OFF)
      if("1" IN_LIST _pile)
        set(_garde ON)
      endif()
      set(_posixSeul OFF)
      if(_h IN_LIST _posix)
        set(_posixSeul ON)
      endif()
      foreach(_d IN LISTS _posixDossiers)
        string(FIND "${_h}" "${_d}" _p)
        if(_p EQUAL 0)
          set(_posixSeul ON)
        endif()
      endforeach()
      if(_posixSeul AND _garde)
        list(APPEND _tous "${_h} (sous condition de plate-forme, ${_nom})")
      else()
        list(APPEND _tous "${_h}")
      endif()
      if(_posixSeul AND NOT _garde)
        list(APPEND _fautes "${_nom} : #include <${_h}>")
      endif()
    endif()
  endforeach()
endforeach()

list(REMOVE_DUPLICATES _tous)
list(SORT _tous)
list(LENGTH _fichiers _nf)
string(REPLACE ";" "\n  " _liste "${_tous}")
message(STATUS "En-têtes système inclus par le cœur (${_nf} fichiers) :\n  ${_liste}")
if(_fautes)
  string(REPLACE ";" "\n  " _f "${_fautes}")
  message(FATAL_ERROR "En-têtes réservés aux systèmes POSIX dans le cœur :\n  ${_f}")
endif()
