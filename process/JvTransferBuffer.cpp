#include "process/JvTransferBuffer.h"

#include <algorithm>
#include <cstring>

TJvTransferBuffer::TJvTransferBuffer() : ring_(new char[InitialCapacity]) {}

void TJvTransferBuffer::Grow(qsizetype capacity)
{
    std::unique_ptr<char[]> larger(new char[capacity]);
    const qsizetype kept = fill_;
    Take(larger.get(), kept);
    ring_ = std::move(larger);
    capacity_ = capacity;
    head_ = 0;
    fill_ = kept;
}

void TJvTransferBuffer::Append(const char* data, qsizetype size)
{
    if (capacity_ < fill_ + size) {
        qsizetype capacity = capacity_;
        while (capacity < fill_ + size && capacity <= MaximumCapacity / 2)
            capacity *= 2;
        if (capacity != capacity_)
            Grow(capacity);
        if (capacity_ < fill_ + size) {
            discarded_ += fill_;
            head_ = 0;
            fill_ = 0;
        }
    }
    if (size > capacity_) {
        discarded_ += size - capacity_;
        data += size - capacity_;
        size = capacity_;
    }
    const qsizetype tail = (head_ + fill_) % capacity_;
    const qsizetype first = std::min(size, capacity_ - tail);
    std::memcpy(ring_.get() + tail, data, first);
    std::memcpy(ring_.get(), data + first, size - first);
    fill_ += size;
}

qsizetype TJvTransferBuffer::Take(char* out, qsizetype maxSize)
{
    const qsizetype size = std::min(maxSize, fill_);
    const qsizetype first = std::min(size, capacity_ - head_);
    std::memcpy(out, ring_.get() + head_, first);
    std::memcpy(out + first, ring_.get(), size - first);
    head_ = (head_ + size) % capacity_;
    fill_ -= size;
    return size;
}
