// SPDX-License-Identifier: MIT
#include "streams.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <poll.h>
#include <unistd.h>

namespace {

// Answers whether a call that failed with errno may be tried again: after a
// signal, or when a descriptor that does not block was not ready (it then
// waits until it is).
bool again(int descriptor, short ready) {
    int const error = errno;
    if (error == EAGAIN || error == EWOULDBLOCK) {
        pollfd waiting{descriptor, ready, 0};
        if (::poll(&waiting, 1, -1) >= 0 || errno == EINTR) {
            return true;
        }
        errno = error; // the reason is the call's
    }
    return error == EINTR;
}

} // namespace

void OutputBuffer::advance(std::size_t size) {
    for (; size > INT_MAX; size -= INT_MAX) {
        pbump(INT_MAX);
    }
    pbump(static_cast<int>(size));
}

OutputBuffer::OutputBuffer(int descriptor, std::size_t capacity)
    : descriptor_(descriptor), capacity_(capacity), buffer_(new char[capacity]) {
    setp(buffer_.get(), buffer_.get() + capacity_);
}

void OutputBuffer::make_room(std::size_t size) {
    auto const held = static_cast<std::size_t>(pptr() - pbase());
    if (capacity_ - held >= size) {
        return;
    }
    std::size_t const larger = std::max(2 * capacity_, held + size);
    std::unique_ptr<char[]> bigger(new char[larger]);
    std::copy(pbase(), pptr(), bigger.get());
    buffer_ = std::move(bigger);
    capacity_ = larger;
    setp(buffer_.get(), buffer_.get() + capacity_);
    advance(held);
}

OutputBuffer::int_type OutputBuffer::overflow(int_type c) {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        make_room(1);
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize OutputBuffer::xsputn(const char* text, std::streamsize size) {
    auto const bytes = static_cast<std::size_t>(size);
    if (pptr() == pbase() && bytes >= capacity_) {
        send(text, bytes);
    } else {
        make_room(bytes);
        std::copy(text, text + bytes, pptr());
        advance(bytes);
    }
    return size;
}

int OutputBuffer::sync() {
    const char* const held = pbase();
    auto const size = static_cast<std::size_t>(pptr() - held);
    setp(buffer_.get(), buffer_.get() + capacity_); // a failed line is not tried again
    send(held, size);
    return 0;
}

void OutputBuffer::send(const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t const written = ::write(descriptor_, data, size);
        if (written < 0 && !again(descriptor_, POLLOUT)) {
            throw StreamFailure{false, errno};
        }
        if (written > 0) {
            data += written;
            size -= static_cast<std::size_t>(written);
        }
    }
}

InputBuffer::InputBuffer(int descriptor) : descriptor_(descriptor), buffer_(new char[capacity]) {
    setg(buffer_.get(), buffer_.get(), buffer_.get());
}

InputBuffer::int_type InputBuffer::underflow() {
    ssize_t got = 0;
    while ((got = ::read(descriptor_, buffer_.get(), capacity)) < 0) {
        if (!again(descriptor_, POLLIN)) {
            throw StreamFailure{true, errno};
        }
    }
    setg(buffer_.get(), buffer_.get(), buffer_.get() + got);
    return got == 0 ? traits_type::eof() : traits_type::to_int_type(*gptr());
}
