#include "archiver/deflate/zip_crypto.h"

#include <zlib.h>

#include "archiver/deflate/system_random.h"

namespace {

uint32_t CrcStep(uint32_t crc, uint8_t byte) {
    static const z_crc_t* const table = get_crc_table();
    return (crc >> 8) ^ static_cast<uint32_t>(table[(crc ^ byte) & 0xFFu]);
}

}  // namespace

TZipEncryptor::TZipEncryptor(const std::string& password) {
    for (char c : password) UpdateKeys(static_cast<uint8_t>(c));
}

uint8_t TZipEncryptor::KeyStreamByte() const {
    const uint16_t temp = static_cast<uint16_t>(key2_ | 2u);
    return static_cast<uint8_t>((temp * (temp ^ 1u)) >> 8);
}

void TZipEncryptor::UpdateKeys(uint8_t plain) {
    key0_ = CrcStep(key0_, plain);
    key1_ = (key1_ + (key0_ & 0xFFu)) * 134775813u + 1u;
    key2_ = CrcStep(key2_, static_cast<uint8_t>(key1_ >> 24));
}

void TZipEncryptor::Encrypt(uint8_t* data, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
        const uint8_t plain = data[i];
        data[i] = static_cast<uint8_t>(plain ^ KeyStreamByte());
        UpdateKeys(plain);
    }
}

void TZipEncryptor::Decrypt(uint8_t* data, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
        data[i] = static_cast<uint8_t>(data[i] ^ KeyStreamByte());
        UpdateKeys(data[i]);
    }
}

std::array<uint8_t, TZipEncryptor::HeaderSize> TZipEncryptor::MakeHeader(uint32_t crc32) {
    std::array<uint8_t, 10> randomBytes{};
    FillSystemRandom(randomBytes.data(), randomBytes.size());
    return MakeHeader(crc32, randomBytes);
}

std::array<uint8_t, TZipEncryptor::HeaderSize> TZipEncryptor::MakeHeader(uint32_t crc32,
                                                                         const std::array<uint8_t, 10>& randomBytes) {
    std::array<uint8_t, HeaderSize> header{};
    for (size_t i = 0; i < randomBytes.size(); ++i) header[i] = randomBytes[i];
    header[10] = static_cast<uint8_t>(crc32 >> 16);
    header[11] = static_cast<uint8_t>(crc32 >> 24);
    Encrypt(header.data(), HeaderSize);
    return header;
}
