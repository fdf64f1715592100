#pragma once
// The messages that end a backup: the fixed first line, and on the second what happened.
#include <string>

#include "app/backup_failure.h"
#include "app/retention.h"

std::string SavedMessage(const std::string& archive);
// With what the kept number removed (how many, the space freed) and could not remove.
std::string SavedMessage(const std::string& archive, const TPrunedArchives& pruned);
// Those lines alone, each ending in a line end; "" when nothing was due for removal.
std::string PrunedMessage(const TPrunedArchives& pruned);
std::string FailedMessage(const EBackupFailure& failure);
