#include "platform/record_io.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <stdexcept>
#include <utility>

#include "platform/cp932.h"
#include "platform/utf8_text.h"

namespace platform {

void RecordWriter::Int16(std::int16_t value) {
    Unsigned(static_cast<std::uint16_t>(value), 2);
}

void RecordWriter::Int32(std::int32_t value) {
    Unsigned(static_cast<std::uint32_t>(value), 4);
}

void RecordWriter::CurrencyRaw(std::int64_t value) {
    Unsigned(static_cast<std::uint64_t>(value), 8);
}

void RecordWriter::Double(double value) {
    Unsigned(std::bit_cast<std::uint64_t>(value), 8);
}

void RecordWriter::FixedText(std::string_view utf8, std::size_t bytes) {
    // Encoded straight into the record and padded there; a text too long for
    // its field is taken back and cut at a whole character.
    const std::size_t start = data_.size();
    std::size_t unmappable = AppendCp932(utf8, data_);
    if (data_.size() - start > bytes) {
        data_.resize(start);
        unmappable = AppendCp932(PadToCp932Bytes(utf8, bytes), data_);
    }
    data_.append(bytes - (data_.size() - start), ' ');
    unmappable_ += unmappable;
}

void RecordWriter::VarText(std::string_view utf8) {
    const EncodeResult encoded = ToCp932(utf8);
    if (encoded.bytes.size() > std::numeric_limits<std::uint16_t>::max()) {
        throw std::length_error("record text of " + std::to_string(encoded.bytes.size()) +
                                " bytes does not fit a 16-bit length");
    }
    unmappable_ += encoded.unmappable;
    Unsigned(encoded.bytes.size(), 2);
    data_ += encoded.bytes;
}

void RecordWriter::Bytes(std::string_view raw) {
    data_ += raw;
}

void RecordWriter::Unsigned(std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i, value >>= 8) {
        data_.push_back(static_cast<char>(value & 0xFF));
    }
}

std::int16_t RecordReader::Int16() {
    return static_cast<std::int16_t>(Unsigned(2, "Int16"));
}

std::int32_t RecordReader::Int32() {
    return static_cast<std::int32_t>(Unsigned(4, "Int32"));
}

std::int64_t RecordReader::CurrencyRaw() {
    return static_cast<std::int64_t>(Unsigned(8, "Currency"));
}

double RecordReader::Double() {
    return std::bit_cast<double>(Unsigned(8, "Double"));
}

std::string RecordReader::FixedText(std::size_t bytes) {
    const std::string_view raw = Take(bytes, "FixedText");
    if (raw.find('\0') == std::string_view::npos) return Decode(raw);
    std::string blanked(raw);
    std::replace(blanked.begin(), blanked.end(), '\0', ' ');
    return Decode(blanked);
}

std::string RecordReader::VarText() {
    std::string text;
    VarText(text);
    return text;
}

void RecordReader::VarText(std::string& out) {
    const std::size_t length = Unsigned(2, "VarText length");
    const std::string_view raw = Take(length, "VarText");
    out.clear();
    invalid_ += AppendFromCp932(raw, out);
}

std::string_view RecordReader::Bytes(std::size_t bytes) { return Take(bytes, "Bytes"); }

void RecordReader::Skip(std::size_t bytes) {
    Take(bytes, "Skip");
}

std::string_view RecordReader::Take(std::size_t bytes, const char* field) {
    if (bytes > remaining()) {
        throw std::out_of_range(std::string("record too short: ") + field + " of " +
                                std::to_string(bytes) + " bytes at position " +
                                std::to_string(pos_) + ", " + std::to_string(remaining()) +
                                " left");
    }
    const std::string_view taken = bytes_.substr(pos_, bytes);
    pos_ += bytes;
    return taken;
}

std::uint64_t RecordReader::Unsigned(std::size_t bytes, const char* field) {
    const std::string_view raw = Take(bytes, field);
    std::uint64_t value = 0;
    for (std::size_t i = bytes; i > 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(raw[i - 1]);
    }
    return value;
}

std::string RecordReader::Decode(std::string_view raw) {
    DecodeResult decoded = FromCp932(raw);
    invalid_ += decoded.invalid;
    return std::move(decoded.text);
}

}  // namespace platform
