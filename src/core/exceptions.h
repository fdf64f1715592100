#pragma once
// The program's exception classes. Every failure in the program is an exception that carries
// the text the operator (or a calling program) gets to see; classes only tell failures apart.
#include <stdexcept>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message, int helpContext = 0)
        : message_(std::move(message)), helpContext_(helpContext) {}
    const std::string& Message() const noexcept { return message_; }
    int HelpContext() const noexcept { return helpContext_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
    int helpContext_;
};

// Silent abort: the failure display drops it without a message.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// Input/output failure with the platform's error number (folder creation raises code 3).
class EInOutError : public Exception {
public:
    EInOutError(std::string message, int errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    int ErrorCode;
};

class EConvertError : public Exception { using Exception::Exception; };
class EOSError : public Exception {
public:
    EOSError(std::string message, unsigned long code) : Exception(std::move(message)), ErrorCode(code) {}
    unsigned long ErrorCode;
};

// A file or stream that failed. OsError is the system's error number when the system refused
// (a sharing violation, a full disk ...), 0 when the stream itself found the fault, so that a
// caller can tell the operator why without parsing the text.
class EStreamError : public Exception {
public:
    explicit EStreamError(std::string message, unsigned long osError = 0)
        : Exception(std::move(message)), OsError(osError) {}
    unsigned long OsError;
};
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EWriteError : public EStreamError { using EStreamError::EStreamError; };
