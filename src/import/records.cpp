#include "import/records.h"

#include "app/file_names.h"

#include "codes/numeric.h"

#include <QFile>

namespace zm {

int recordCountOf(qint64 fileLength, int recordLength) {
    if (recordLength <= 0 || fileLength <= 0)
        return 0;
    return ToInt32(static_cast<double>(fileLength) / recordLength);
}

RecordFile::RecordFile(QByteArray bytes, int recordLength)
    : bytes_(std::move(bytes)), recordLength_(recordLength > 0 ? recordLength : 1) {
    count_ = recordCountOf(bytes_.size(), recordLength_);
    const qsizetype whole = bytes_.size() / recordLength_;
    if (count_ > whole) {
        // A trailing partial record of at least half a record counts; pad it to full length.
        lastPadded_ = bytes_.sliced(whole * recordLength_);
        lastPadded_.append(QByteArray(recordLength_ - lastPadded_.size(), ' '));
    }
}

std::optional<RecordFile> RecordFile::load(const QString& path, int recordLength) {
    auto bytes = readRegularFile(path);
    if (!bytes)
        return std::nullopt;
    return RecordFile(std::move(*bytes), recordLength);
}

QByteArrayView RecordFile::recordView(int n) const {
    if (n < 1 || n > count_)
        return {};
    const qsizetype start = qsizetype(n - 1) * recordLength_;
    if (start + recordLength_ <= bytes_.size())
        return QByteArrayView(bytes_).sliced(start, recordLength_);
    return QByteArrayView(lastPadded_);
}

QByteArray RecordFile::record(int n) const { return recordView(n).toByteArray(); }

}  // namespace zm
