#pragma once
// The messages that end a backup: the fixed first line, and on the second what happened.
#include <string>

#include "app/backup_failure.h"

std::string SavedMessage(const std::string& archive);
std::string FailedMessage(const EBackupFailure& failure);
