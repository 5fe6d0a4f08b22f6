#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/kagi_flag.h"
#include "analysis/kagi_judge_rec.h"
#include "marketdata/key.h"
#include "platform/currency.h"
#include "platform/record_io.h"

namespace analysis {

// The record files of the Kagi analysis give their layout once, as a list of
// stored fields in stored order (an `EachStoredField` per record type), and
// run that list with one of these two visitors, so that writer and reader can
// never disagree.

inline constexpr std::size_t kFlagWidth = 1;  // the one-character texts

// The fields of a date-and-price block, in stored order.
template <class Block, class Io>
void EachBlockField(Block& block, Io& io) {
    io(block.RuleDate);
    io(block.SignalExtraA);
    io(block.SignalExtraB);
    io(block.SignalPrice);
    io(block.SignalGain);
    io(block.SignalGainPct);
    io(block.RuleCount);
    io(block.SignalExtraC);
}

struct FieldWriter {
    platform::RecordWriter& out;
    void operator()(double value) { out.Double(value); }
    void operator()(const platform::Currency& value) { out.CurrencyRaw(value.raw()); }
    void operator()(std::int32_t value) { out.Int32(value); }
    void operator()(const std::string& flag) { out.FixedText(flag, kFlagWidth); }
    void operator()(KagiFlag flag) {
        const char byte = flag.StoredByte();
        out.Bytes(std::string_view(&byte, kFlagWidth));
    }
    void operator()(const std::string& text, std::size_t width) { out.FixedText(text, width); }
    void operator()(const marketdata::Key& key) { marketdata::WriteKeyRecord(out, key); }
    void operator()(const SignalBlock& block) { EachBlockField(block, *this); }
    template <std::size_t N>
    void operator()(const std::array<std::uint8_t, N>& raw) {
        out.Bytes(std::string_view(reinterpret_cast<const char*>(raw.data()), N));
    }
    template <class T, std::size_t N>
    void operator()(const std::array<T, N>& values) {
        for (const T& value : values) (*this)(value);
    }
};

struct FieldReader {
    platform::RecordReader& in;
    void operator()(double& value) { value = in.Double(); }
    void operator()(platform::Currency& value) { value = platform::Currency::FromRaw(in.CurrencyRaw()); }
    void operator()(std::int32_t& value) { value = in.Int32(); }
    void operator()(std::string& flag) { flag = in.FixedText(kFlagWidth); }
    // The byte as stored, undecoded, so that a record read and written again
    // keeps its bytes; a NUL reads as a blank, as in the texts.
    void operator()(KagiFlag& flag) {
        const char byte = in.Bytes(kFlagWidth).front();
        flag = KagiFlag(byte == '\0' ? ' ' : byte);
    }
    void operator()(std::string& text, std::size_t width) { text = in.FixedText(width); }
    void operator()(marketdata::Key& key) { marketdata::ReadKeyRecord(in, key); }
    void operator()(SignalBlock& block) { EachBlockField(block, *this); }
    template <std::size_t N>
    void operator()(std::array<std::uint8_t, N>& raw) {
        in.Bytes(N).copy(reinterpret_cast<char*>(raw.data()), N);
    }
    template <class T, std::size_t N>
    void operator()(std::array<T, N>& values) {
        for (T& value : values) (*this)(value);
    }
};

}  // namespace analysis
