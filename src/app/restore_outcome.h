#pragma once
// The messages that end a restore or the test of an archive: the fixed first line, then what
// happened.
#include <string>

#include "app/restore_job.h"

std::string RestoredMessage(const TRestoreResult& result);
// A failure says, after its cause, that the current database was not changed; a stop is told
// with its own line alone.
std::string RestoreFailedMessage(const ERestoreFailure& failure);
std::string ArchiveSoundMessage(const std::string& archive);
std::string ArchiveUnsoundMessage(const ERestoreFailure& failure);
