#pragma once
// A deflate engine (zlib's or our own) reported failure.
#include "core/exceptions.h"

class ECompressionError : public Exception {
public:
    ECompressionError() : Exception("error") {}
};
