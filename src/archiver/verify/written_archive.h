#pragma once
// Stage verify/ reads back what a commit wrote, from the archive stream (for a file archive the
// file's bytes as the system holds them, not the buffers they were written from), and compares
// it with what was meant: the central directory, the ZIP64 end records and the end record byte
// for byte (directory_check), each written or copied entry's local header against its central
// record (local_header_check), and its data inflated by zlib to the recorded size and CRC-32
// (entry_data_check, chunks side by side where the data step noted them).
//
// What the component offers its callers (TVXBaseArchiver):
// - Verify (published, False by default): when True, every commit is read back after it has
//   written the directory and before it lets go of the archive's old tail, deletes the sources
//   of moved files or reports its end. vorbex.exe sets it unless -n is given.
// - A difference raises EVXException code 33 (vxerr::VerificationFailed, ErrorCode 17): "<Name>:
//   Archive verification failed: <what differs> - Native error: 00033". The commit has rolled
//   back first: the archive (and its directory in memory) are as they were before the batch, as
//   after any other failure of the commit.
// - Progress: OnOverallProgress with Operation poTest tells the verifying phase from the
//   writing (poAdd, ...): ppStart at 0, ppProcess as the data are read back (percent of the
//   entries' uncompressed bytes checked, at least once per 1 MiB piece or deflate chunk), ppEnd
//   at 100. A handler that sets Cancel at any of them stops the verification; the commit then
//   rolls back and the batch ends without an exception, as a cancel while writing does. The
//   commit's own ppEnd of the writing follows the verification's.
// - BeforeVerify(TStream& archive): a test seam, called once everything is written and before
//   anything is read back, with the archive stream; what a handler changes there is what the
//   verification reads.
// - Entries encrypted with a password the archiver still holds (this batch's) are decrypted
//   and checked like the others; those of earlier batches or other writers, and data of
//   methods other than stored and deflate, get their headers checked only.
class TVXDirManager;
struct TVerifyContext;

// Reads back the entries from firstWritten on (written or copied by the commit that just wrote
// dir's directory) and the directory. False when a handler asked to stop; raises the
// verification failure at the first difference.
bool VerifyWrittenArchive(TVXDirManager& dir, int firstWritten, const TVerifyContext& context);
