#include "core/dates.h"

#include <windows.h>

TDateTime SystemNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return EncodeDate(st.wYear, st.wMonth, st.wDay) +
           (st.wHour * 3600000.0 + st.wMinute * 60000.0 + st.wSecond * 1000.0 + st.wMilliseconds) / 86400000.0;
}
