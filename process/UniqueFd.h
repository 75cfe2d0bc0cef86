#pragma once

#include <unistd.h>

#include <utility>

// Owns one file descriptor and closes it when it goes out of scope, so that
// no error path of the runner leaks a pipe end into a later child.
class TJvUniqueFd {
public:
    TJvUniqueFd() = default;
    explicit TJvUniqueFd(int fd) : fd_(fd) {}
    TJvUniqueFd(TJvUniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    TJvUniqueFd& operator=(TJvUniqueFd&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.fd_, -1));
        return *this;
    }
    TJvUniqueFd(const TJvUniqueFd&) = delete;
    TJvUniqueFd& operator=(const TJvUniqueFd&) = delete;
    ~TJvUniqueFd() { Reset(); }

    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    int Release() { return std::exchange(fd_, -1); }
    void Reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};
