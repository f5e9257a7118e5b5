// A small little-endian byte writer for record contents. The builder writes its records with this
// rather than with the game's stream, so that a fault shared by a writer and a reader cannot hide
// in a round trip: the game reads what this writes, field by field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class ByteWriter {
public:
    void U8(uint32_t v) { bytes_.push_back(static_cast<uint8_t>(v)); }
    void U16(uint32_t v) {
        U8(v & 0xFF);
        U8((v >> 8) & 0xFF);
    }
    void I16(int32_t v) { U16(static_cast<uint32_t>(v) & 0xFFFF); }
    void U32(uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Bytes(const void* data, size_t n) {
        const uint8_t* p = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + n);
    }
    void Text(std::string_view s) { Bytes(s.data(), s.size()); }
    // Zero bytes up to the next multiple of n.
    void Align(size_t n) {
        while (bytes_.size() % n != 0) U8(0);
    }
    // Overwrites a u16 written earlier (offsets that are known only later).
    void PatchU16(size_t at, uint32_t v) {
        bytes_.at(at) = static_cast<uint8_t>(v & 0xFF);
        bytes_.at(at + 1) = static_cast<uint8_t>((v >> 8) & 0xFF);
    }
    void PatchU32(size_t at, uint32_t v) {
        PatchU16(at, v & 0xFFFF);
        PatchU16(at + 2, v >> 16);
    }

    size_t Size() const { return bytes_.size(); }
    const std::vector<uint8_t>& Data() const { return bytes_; }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};
