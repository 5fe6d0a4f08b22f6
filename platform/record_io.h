#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Record files hold their fields one after another, numbers little-endian
// and texts in code page 932. Fields are written and read one by one so the
// layout never depends on how the compiler lays out a struct.

class RecordWriter {
public:
    void Int16(std::int16_t value);
    void Int32(std::int32_t value);
    // Money as its raw count of ten-thousandths.
    void CurrencyRaw(std::int64_t value);
    // Also carries dates, as days since 1899-12-30.
    void Double(double value);
    // Exactly `bytes` bytes, blank-padded; a double-byte character that would
    // straddle the end is left out and its place padded too.
    void FixedText(std::string_view utf8, std::size_t bytes);
    // A 16-bit byte count, then the bytes. Throws std::length_error past 65535.
    void VarText(std::string_view utf8);
    void Bytes(std::string_view raw);

    const std::string& data() const { return data_; }
    // Characters written as "?" because CP932 cannot hold them.
    std::size_t unmappable() const { return unmappable_; }

private:
    void Unsigned(std::uint64_t value, std::size_t bytes);

    std::string data_;
    std::size_t unmappable_ = 0;
};

// Reading past the end throws std::out_of_range naming the field and position.
class RecordReader {
public:
    // Reads `bytes` in place: they must outlive the reader.
    explicit RecordReader(std::string_view bytes) : bytes_(bytes) {}
    explicit RecordReader(std::string&&) = delete;

    std::int16_t Int16();
    std::int32_t Int32();
    std::int64_t CurrencyRaw();
    double Double();
    // The text as stored, trailing blanks kept; NUL bytes read as blanks.
    std::string FixedText(std::size_t bytes);
    std::string VarText();
    // VarText into `out`, which it replaces: a record's fields are read in
    // place, with no string of their own on the way.
    void VarText(std::string& out);
    // The next `bytes` bytes as stored.
    std::string_view Bytes(std::size_t bytes);
    void Skip(std::size_t bytes);

    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    // Bytes that did not form a valid CP932 character, read as "?".
    std::size_t invalid() const { return invalid_; }

private:
    std::string_view Take(std::size_t bytes, const char* field);
    std::uint64_t Unsigned(std::size_t bytes, const char* field);
    std::string Decode(std::string_view raw);

    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t invalid_ = 0;
};

}  // namespace platform
