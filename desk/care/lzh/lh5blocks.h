#pragma once
// The block half of the -lh5- coder: it knows only symbols and their
// frequencies. Literals and matches are collected into blocks; each block is
// written with its own static Huffman trees (character/length tree, the tree
// that codes its code lengths, and the position tree), bits most significant
// first.

#include <cstdint>
#include <vector>

namespace lzh {

constexpr int kDicBits = 13;
constexpr int kDicSize = 1 << kDicBits; // farthest match: 8192 bytes back
constexpr int kMaxMatch = 256;
constexpr int kMinMatch = 3;
constexpr int kNC = 256 + kMaxMatch - kMinMatch + 1; // literals and lengths: 510
constexpr int kNP = kDicBits + 1;                    // position bit-length classes: 14
constexpr int kNT = 16 + 3;                          // code-length symbols: 19
constexpr int kCBit = 9;
constexpr int kPBit = 4;
constexpr int kTBit = 5;
constexpr int kMaxCodeBits = 16;

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out)
        : out_(out) {}
    // The n low bits of v, most significant first (n up to 24).
    void put(int n, std::uint32_t v) {
        if (n == 0) {
            return;
        }
        acc_ = (acc_ << n) | (v & ((1u << n) - 1));
        count_ += n;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<std::uint8_t>(acc_ >> count_));
        }
        acc_ &= (1u << count_) - 1;
    }
    // Pads the last byte with zero bits.
    void flush() {
        if (count_ > 0) {
            out_.push_back(static_cast<std::uint8_t>(acc_ << (8 - count_)));
        }
        acc_ = 0;
        count_ = 0;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint32_t acc_ = 0;
    int count_ = 0;
};

// Code lengths of at most kMaxCodeBits for the frequencies; unused symbols
// get 0. Needs at least two used symbols.
void huffmanLengths(const std::uint32_t* freq, int n, std::uint8_t* len);
// Canonical codes for the lengths, as the decoder rebuilds them: shorter
// codes first, equal lengths in symbol order.
void canonicalCodes(const std::uint8_t* len, int n, std::uint16_t* code);

class BlockEncoder {
public:
    explicit BlockEncoder(std::vector<std::uint8_t>& out);
    void literal(std::uint8_t c) {
        symbols_.push_back(c);
        if (symbols_.size() >= kBlockSymbols) {
            sendBlock();
        }
    }
    // length 3..256, distance 1..8192
    void match(int length, int distance) {
        symbols_.push_back(static_cast<std::uint16_t>(length - kMinMatch + 256));
        positions_.push_back(static_cast<std::uint16_t>(distance - 1));
        if (symbols_.size() >= kBlockSymbols) {
            sendBlock();
        }
    }
    // Writes what is left and pads the last byte.
    void finish();

private:
    // A block's size field is 16 bits; larger blocks pay for their trees
    // over more symbols.
    static constexpr std::size_t kBlockSymbols = 0x8000;
    void sendBlock();
    void writeCodeLengths(const std::uint8_t* cLen, const std::uint8_t* tLen,
                          const std::uint16_t* tCode);
    void writeTreeLengths(const std::uint8_t* len, int n, int nbit, int special);

    BitWriter bits_;
    std::vector<std::uint16_t> symbols_;
    std::vector<std::uint16_t> positions_;
};

} // namespace lzh
