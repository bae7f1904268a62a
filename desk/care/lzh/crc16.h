#pragma once
// The archive format's CRC-16 (reflected polynomial 0xA001, start 0), over
// stored data and over level-2 headers.

#include <cstddef>
#include <cstdint>

namespace lzh {

class Crc16 {
public:
    void add(const void* data, std::size_t size);
    std::uint16_t value() const { return crc_; }
    static std::uint16_t of(const void* data, std::size_t size);

private:
    std::uint16_t crc_ = 0;
};

} // namespace lzh
