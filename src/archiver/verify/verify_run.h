#pragma once
// One verification as the checks of its parts see it: what to ask before every piece that is
// read back, the bytes checked so far, and how a difference is reported.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class TComponent;

struct TVerifyContext {
    // Asked as the data are read back (before an entry's first piece and after every piece or
    // chunk but its last), with the entry bytes checked so far and all there are to check; true
    // stops the verification (the archiver's Cancel).
    std::function<bool(int64_t done, int64_t total)> BeforePiece;
    // Threads that inflate the chunks of one entry at once; 0 takes the data step's default.
    unsigned Workers = 0;
    // Names the component in the failure; may be null.
    const TComponent* Owner = nullptr;
    // Hears of an entry's bytes as they are read back from the front of its data, in order and
    // within the entry's size (not those of chunks inflated side by side): the extraction of an
    // entry writes them out. The CRC-32 is known only at the end, so what it received is good
    // only when the check returned without a failure.
    std::function<void(const uint8_t* bytes, size_t n)> Output;
};

class TVerifyRun {
public:
    TVerifyRun(const TVerifyContext& context, int64_t total) : context_(context), total_(total) {}

    // False when a handler asked to stop.
    bool Continue() const { return !context_.BeforePiece || !context_.BeforePiece(done_, total_); }
    void Checked(int64_t bytes) { done_ += bytes; }
    void Emit(const uint8_t* bytes, size_t n) const {
        if (context_.Output) context_.Output(bytes, n);
    }
    unsigned Workers() const;
    // Raises the verification failure (code 33) saying what differs.
    [[noreturn]] void Differs(const std::string& what) const;

private:
    const TVerifyContext& context_;
    const int64_t total_;
    int64_t done_ = 0;
};
