#include "archiver/deflate/system_random.h"

#include <windows.h>
#include <ntsecapi.h>

#include "core/exceptions.h"
#include "core/text.h"

// RtlGenRandom lives in advapi32, which every program links anyway.
void FillSystemRandom(uint8_t* buffer, size_t count) {
    if (count == 0) return;
    if (!RtlGenRandom(buffer, static_cast<ULONG>(count)))
        throw Exception(Format("System random generator failed (%lu)", static_cast<unsigned long>(GetLastError())));
}
