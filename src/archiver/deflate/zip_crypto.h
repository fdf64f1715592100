#pragma once
// The traditional PKWARE encryption of ZIP entries (the "ZipCrypto" stream cipher).
#include <array>
#include <cstdint>
#include <string>

class TZipEncryptor {
public:
    static constexpr int HeaderSize = 12;

    explicit TZipEncryptor(const std::string& password);

    // The 12-byte encryption header, already encrypted: ten random bytes followed by the two
    // high bytes of the entry's finished CRC-32, which readers use to check the password.
    std::array<uint8_t, HeaderSize> MakeHeader(uint32_t crc32);
    // Same, with the ten leading bytes given (tests need a reproducible header).
    std::array<uint8_t, HeaderSize> MakeHeader(uint32_t crc32, const std::array<uint8_t, 10>& randomBytes);

    void Encrypt(uint8_t* data, int64_t count);
    // The other direction, for reading back what was written: the encryption header first
    // (its last byte is then the CRC-32's high byte), then the data.
    void Decrypt(uint8_t* data, int64_t count);

private:
    uint8_t KeyStreamByte() const;
    void UpdateKeys(uint8_t plain);

    uint32_t key0_ = 0x12345678u;
    uint32_t key1_ = 0x23456789u;
    uint32_t key2_ = 0x34567890u;
};
