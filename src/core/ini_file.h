#pragma once
// A private-profile (INI) file reached through GetPrivateProfileStringA and
// WritePrivateProfileStringA. A name without a folder lives where the platform keeps such files
// (the Windows folder).
#include <string>

class TIniFile {
public:
    // Values longer than this, less one, come back cut.
    static constexpr int BufferSize = 2048;

    explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    // Flushes what the platform may still cache; errors are not reported from here.
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return fileName_; }

    // The stored value; the default, byte for byte, when the key (or the file) is missing.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // A value that begins and ends with the same kind of quote gets one more pair of double
    // quotes, because reading strips one matching pair. A file that another program has open
    // without sharing writes is waited for a few seconds; then, or for any other refusal, raises
    // "Unable to write to <file>".
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

    // A missing, empty or non-numeric value gives the default.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    void WriteInteger(const std::string& section, const std::string& key, int value);

private:
    std::string fileName_;
};
