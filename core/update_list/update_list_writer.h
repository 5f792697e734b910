// Turns an update list document back into the ".hul" text the parser reads.
// ldtool publish writes its lists through it; tests use it for round trips.
//
// Output, for either layout (the layout is only the "version" value):
//   [HEADER] with all seven keys, then [INSTALL], [UNINSTALL] and
//   [SETUP_INSTALL] (a section is left out when its list is empty, except
//   [INSTALL]); one directory line per entry ("/data/img" or "<WINDOWS>/Fonts")
//   and file lines "name,checksum,size,zipsize,YYYYMMDD-HHMMSS" (uninstall
//   files: the name alone). Numbers are written signed, as the parser reads
//   them; a time of 0 is written as "0". Lines end in "\r\n".
//
// Reading the text back with the same folders gives an equal document, with
// one limit the format itself sets: a time inside a local hour that occurs
// twice (end of daylight saving) reads back as whichever of the two the C
// library picks; both break down to the same local minute.
//
// Pure functions, any thread. Failures are returned as false with a message
// in *error (when error is not null) and nothing written.
#pragma once

#include <string>

#include "core/update_list/update_list.h"
#include "core/update_list/update_list_folders.h"

namespace ld {

// Fails when a value cannot be written so that it reads back the same: a name
// or path that is empty, longer than 99 bytes, holds a tab, comma, CR, LF or
// NUL, or a file name beginning with a space, '[', '/', '<' or '!'; a
// directory path that is neither relative ("\...") nor below one of the
// folders; a project name or download address with spaces or such
// characters; an empty version or one with spaces at either end; a time the
// local calendar cannot express with a four-digit year.
bool WriteUpdateListText(const UpdateList& list, const UpdateListFolders& folders,
                         std::string* text, std::string* error);

// Same, to a file (created or replaced, binary). Also fails when the file
// cannot be written.
bool WriteUpdateListFile(const UpdateList& list, const UpdateListFolders& folders,
                         const std::string& path, std::string* error);

}  // namespace ld
