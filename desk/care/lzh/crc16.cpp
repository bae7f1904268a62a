#include "crc16.h"

#include <array>

namespace lzh {
namespace {

constexpr std::array<std::uint16_t, 256> makeTable() {
    std::array<std::uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned c = i;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? (c >> 1) ^ 0xA001u : c >> 1;
        }
        t[i] = static_cast<std::uint16_t>(c);
    }
    return t;
}
constexpr auto kTable = makeTable();

} // namespace

void Crc16::add(const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    unsigned c = crc_;
    for (std::size_t i = 0; i < size; ++i) {
        c = kTable[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    }
    crc_ = static_cast<std::uint16_t>(c);
}

std::uint16_t Crc16::of(const void* data, std::size_t size) {
    Crc16 c;
    c.add(data, size);
    return c.value();
}

} // namespace lzh
