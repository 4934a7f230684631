// Table files on disk: their names, the pairing check of a directory,
// completeness by size, opening through the path list, lazy read-only
// mapping and release.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"
#include "tablebase/entry.h"
#include "tablebase/tb_position.h"

inline constexpr const char* TB_EXTENSION[3] = {".rtbw", ".rtbm", ".rtbz"};

// The directories of the loaded path, in order.
extern std::vector<std::string> tb_paths;

// File name base of the material, first side white (black when mirror):
// "KRPvKR". out holds 16 bytes.
void tb_table_name(const TbPosition& pos, bool mirror, char* out);

// False when a file of the extension in the directory lacks its partner,
// the name with the last letter changed to `partner`; message (512 bytes)
// then reads "KQvK.rtbz (missing KQvK.rtbw)".
bool tb_all_paired(const char* directory, const char* extension, char partner, char* message);

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
