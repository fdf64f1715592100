#pragma once
// Stage select/ owns the choice of what goes into the archive: masks and their locale rules,
// folder resolution, stored names, the source files' listings and attributes, and the walk
// (here) that turns matching files into pending items.
//
// The file selection: walks the base folder (and the folders below it when the options say so)
// and appends a pending item for every file and folder that a mask matches and no exclusion
// mask does.
#include <cstdint>

#include "archiver/select/selection_host.h"
#include "archiver/zip/dir_array.h"

// searchAttr admits hidden, system, volume and folder entries by their attribute bits.
void SelectFiles(TSelectionHost& host, const TStringList& masks, uint16_t searchAttr, TVXProcessOperation operation,
                 const TStringList& exclusions, TVXDirArray& items);
