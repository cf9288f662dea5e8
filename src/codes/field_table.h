#pragma once

// Fixed-length records described by typed field tables. A field has a name, a kind, an offset
// and a width in bytes, and a count (an array field holds count elements of width bytes each).
// Every record type lists its fields once in a table, and the table is checked at compile time:
//
//     static constexpr Field kFields[] = {...};
//     static_assert(fieldTableIsSound(kFields, kLength));
//
// Text fields hold CP932 text padded with blanks; digit fields hold a number as text (read
// with Val); 16-bit fields hold a little-endian two's-complement integer; constant fields hold
// fixed bytes (line ends, separators). Named fields carry their kind in their type (TextField,
// DigitsField, Int16Field, ConstantField), and the record's accessors refuse the wrong kind. Bytes no field names are never touched, so a record copied
// through the program keeps the bytes it was read with.

#include "codes/numeric.h"
#include "codes/sjis.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace zm {

enum class FieldKind : std::uint8_t { Text, Digits, Int16LE, Constant };

// A field's place in its record, its kind known only at run time. Tables list fields in this
// form for the layout checks; a one-off field written this way is read and written as text.
struct Field {
    const char* name;
    int offset;
    int width;
    int count = 1;
    FieldKind kind = FieldKind::Text;

    constexpr int totalWidth() const { return width * count; }
    constexpr int end() const { return offset + totalWidth(); }
    // The i-th element (1-based) as a single field.
    constexpr Field element(int i) const { return Field{name, offset + (i - 1) * width, width, 1, kind}; }
    // The field moved by base bytes (a sub-record's field inside its parent).
    constexpr Field shifted(int base) const { return Field{name, offset + base, width, count, kind}; }
};

// A field whose kind is part of its type, so that reading it the wrong way does not compile:
// text only from text and digit fields, numbers only from digit fields, 16-bit integers only
// from 16-bit fields, constant fields only as raw bytes.
template <FieldKind K>
struct FieldOf : Field {
    static constexpr FieldKind kKind = K;

    constexpr FieldOf(const char* name, int offset, int width, int count = 1) : Field{name, offset, width, count, K} {}

    constexpr FieldOf element(int i) const { return FieldOf(Field::element(i)); }
    constexpr FieldOf shifted(int base) const { return FieldOf(Field::shifted(base)); }
    // A field of a sub-record laid out as element i (1-based) of this array field: the
    // sub-record's field relative moved to where that element starts.
    template <FieldKind R>
    constexpr FieldOf<R> inEntry(int i, const FieldOf<R>& relative) const {
        return relative.shifted(Field::element(i).offset);
    }

private:
    template <FieldKind>
    friend struct FieldOf;
    constexpr explicit FieldOf(const Field& f) : Field(f) {}
};

using TextField = FieldOf<FieldKind::Text>;
using DigitsField = FieldOf<FieldKind::Digits>;
using Int16Field = FieldOf<FieldKind::Int16LE>;
using ConstantField = FieldOf<FieldKind::Constant>;

// Fields whose bytes are CP932 text.
template <FieldKind K>
concept TextualKind = K == FieldKind::Text || K == FieldKind::Digits;

// Field builders that say the kind where the table is written.
constexpr TextField textField(const char* name, int offset, int width, int count = 1) {
    return TextField(name, offset, width, count);
}
constexpr DigitsField digitsField(const char* name, int offset, int width, int count = 1) {
    return DigitsField(name, offset, width, count);
}
constexpr Int16Field int16Field(const char* name, int offset, int count = 1) { return Int16Field(name, offset, 2, count); }
constexpr ConstantField constantField(const char* name, int offset, int width) {
    return ConstantField(name, offset, width);
}

// True when the fields lie in ascending order inside a record of length bytes without
// overlapping, each has a positive width and count, and every 16-bit field is two bytes wide.
// Used in static_assert next to each table.
template <std::size_t N>
constexpr bool fieldTableIsSound(const Field (&fields)[N], int length) {
    int end = 0;
    for (const Field& f : fields) {
        if (f.width <= 0 || f.count <= 0 || f.offset < end)
            return false;
        if (f.kind == FieldKind::Int16LE && f.width != 2)
            return false;
        end = f.end();
    }
    return end <= length;
}

// The same, and the table reaches exactly to the end of the record.
template <std::size_t N>
constexpr bool fieldTableCoversRecord(const Field (&fields)[N], int length) {
    return fieldTableIsSound(fields, length) && N > 0 && fields[N - 1].end() == length;
}

// Bytes of fixed length with field access. Derived types add the field table. Fill is the byte
// of a new record and of the missing tail of a short one: blanks for the service's text records,
// zero bytes for the program's binary records.
template <int Length, char Fill = ' '>
class FixedRecord {
public:
    static constexpr int kLength = Length;

    FixedRecord() : data_(Length, Fill) {}
    // The given bytes, cut or padded to the record length.
    explicit FixedRecord(QByteArrayView bytes)
        : data_(bytes.first(std::min<qsizetype>(bytes.size(), Length)).toByteArray()) {
        if (data_.size() < Length)
            data_.append(QByteArray(Length - data_.size(), Fill));
    }

    const QByteArray& bytes() const { return data_; }

    // The raw bytes of a field (an array field: all its elements), whatever its kind.
    QByteArrayView raw(const Field& f) const { return QByteArrayView(data_).sliced(f.offset, f.totalWidth()); }

    // The field decoded from CP932, blanks kept. Only text and digit fields read as text; the
    // other kinds are refused here rather than taken as a plain field.
    QString text(const Field& f) const { return fromSjis(raw(f)); }
    template <FieldKind K>
        requires TextualKind<K>
    QString text(const FieldOf<K>& f) const {
        return fromSjis(raw(f));
    }
    template <FieldKind K>
        requires(!TextualKind<K>)
    QString text(const FieldOf<K>& f) const = delete;
    // Element i (1-based) of an array field.
    template <FieldKind K>
    QString text(const FieldOf<K>& f, int i) const {
        return text(f.element(i));
    }
    // The field decoded, leading and trailing blanks removed.
    template <class F>
    QString trimmed(const F& f) const {
        return text(f).trimmed();
    }
    // The numeric-prefix value of a digit field (no number gives 0).
    double number(const DigitsField& f) const { return Val(raw(f)); }
    double number(const DigitsField& f, int i) const { return number(f.element(i)); }

    // A 16-bit little-endian field (element i of an array field).
    std::int16_t int16(const Int16Field& f, int i = 1) const {
        const int at = f.element(i).offset;
        const auto lo = static_cast<unsigned char>(data_[at]);
        const auto hi = static_cast<unsigned char>(data_[at + 1]);
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
    }
    void setInt16(const Int16Field& f, std::int16_t value) { setInt16(f, 1, value); }
    void setInt16(const Int16Field& f, int i, std::int16_t value) {
        const int at = f.element(i).offset;
        const auto u = static_cast<std::uint16_t>(value);
        data_[at] = static_cast<char>(u & 0xFF);
        data_[at + 1] = static_cast<char>(u >> 8);
    }

    // Writes text left-aligned, padded with blanks and cut to the field's width.
    template <FieldKind K>
        requires TextualKind<K>
    void setText(const FieldOf<K>& f, QStringView value) {
        writeText(f, value);
    }
    template <FieldKind K>
        requires(!TextualKind<K>)
    void setText(const FieldOf<K>& f, QStringView value) = delete;
    void setText(const Field& f, QStringView value) { writeText(f, value); }
    template <FieldKind K>
    void setText(const FieldOf<K>& f, int i, QStringView value) {
        setText(f.element(i), value);
    }
    // Writes bytes into the field, padded with blanks or cut to its width.
    // (16-bit fields are written with setInt16.)
    template <FieldKind K>
        requires(K != FieldKind::Int16LE)
    void setRaw(const FieldOf<K>& f, QByteArrayView value) {
        writeRaw(f, value);
    }
    void setRaw(const Int16Field& f, QByteArrayView value) = delete;
    void setRaw(const Field& f, QByteArrayView value) { writeRaw(f, value); }

    friend bool operator==(const FixedRecord& a, const FixedRecord& b) { return a.data_ == b.data_; }

protected:
    // A sub-record's bytes at offset base.
    QByteArrayView span(int base, int length) const { return QByteArrayView(data_).sliced(base, length); }
    void putSpan(int base, QByteArrayView bytes) { std::copy(bytes.begin(), bytes.end(), data_.data() + base); }
    void setLineEnd() {
        data_[Length - 2] = '\r';
        data_[Length - 1] = '\n';
    }

    QByteArray data_;

private:
    void writeText(const Field& f, QStringView value) {
        if (!isAscii(value)) {
            writeRaw(f, padSjis(value, f.totalWidth()));
            return;
        }
        // ASCII is its own CP932 form: written in place, without an encoded copy.
        const int w = f.totalWidth();
        const qsizetype n = std::min<qsizetype>(value.size(), w);
        char* out = data_.data() + f.offset;
        for (qsizetype k = 0; k < n; ++k)
            out[k] = static_cast<char>(value[k].unicode());
        std::fill(out + n, out + w, ' ');
    }
    void writeRaw(const Field& f, QByteArrayView value) {
        const int w = f.totalWidth();
        const qsizetype n = std::min<qsizetype>(value.size(), w);
        char* out = data_.data() + f.offset;
        std::copy(value.data(), value.data() + n, out);
        std::fill(out + n, out + w, ' ');
    }
};

}  // namespace zm
