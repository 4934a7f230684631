// Table files on disk: the pairing check of a directory, completeness by
// size, opening through the path list, lazy read-only mapping and release.
#pragma once

#include "platform/files.h"
#include "tablebase/registry.h"

// False when a ".rtbw" or ".rtbz" file in the directory lacks its partner;
// message (512 bytes) then reads "KQvK.rtbz (missing KQvK.rtbw)".
bool tb_check_pairs(const char* directory, char* message);

// True when the file exists and its size is 16 modulo 64; an incomplete file
// is reported on standard error and standard output.
bool tb_file_complete(const char* name, const char* extension);

// The first directory's name + extension that opens, or NO_FILE.
FileHandle tb_open_file(const char* name, const char* extension);

// Maps and parses one kind of one entry. False when the file cannot be
// opened or is corrupted; ends the process when the system cannot map it.
bool tb_map_table(TbEntry& entry, const char* name, int kind);

// Unmaps every mapped kind of the entry and frees its codebooks.
void tb_release_entry(TbEntry& entry);
