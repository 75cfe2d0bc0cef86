#pragma once

#include <QtGlobal>

#include <memory>

// Output read from the pipe and not yet taken by the interface thread. The
// capacity starts at 1024 bytes and doubles up to 131072; when even that
// would overflow, everything still waiting is discarded and the newest bytes
// are kept, so a program that writes faster than the interface can follow
// costs bounded memory.
//
// Not thread-safe by itself; the reader thread guards it with its lock.
class TJvTransferBuffer {
public:
    static constexpr qsizetype InitialCapacity = 1024;
    static constexpr qsizetype MaximumCapacity = 131072;

    TJvTransferBuffer();

    void Append(const char* data, qsizetype size);
    // Moves up to maxSize bytes from the front into out; returns how many.
    qsizetype Take(char* out, qsizetype maxSize);

    qsizetype Size() const { return fill_; }
    qsizetype Capacity() const { return capacity_; }
    qint64 Discarded() const { return discarded_; }

private:
    void Grow(qsizetype capacity);

    std::unique_ptr<char[]> ring_;
    qsizetype capacity_ = InitialCapacity;
    qsizetype head_ = 0;
    qsizetype fill_ = 0;
    qint64 discarded_ = 0;
};
