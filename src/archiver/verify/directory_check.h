#pragma once
// The archive's tail read back: the central directory, the ZIP64 end records when there are
// any, the end record and the comment must be the bytes the directory manager meant to write.
class TVXDirManager;
class TVerifyRun;

void CheckDirectory(TVXDirManager& dir, const TVerifyRun& run);
