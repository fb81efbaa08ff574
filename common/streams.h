// SPDX-License-Identifier: MIT
// The stream buffers that the programs put under std::cin, std::cout and
// std::cerr: the same with either standard library, so that what leaves and
// what is read does not depend on how the library buffers C's streams.
#ifndef LISTAENC_STREAMS_H
#define LISTAENC_STREAMS_H

#include <cstddef>
#include <memory>
#include <streambuf>

// Thrown by a buffer whose read or write failed; `error` is the errno of the
// call. A stream whose exceptions include badbit passes it on as it is.
struct StreamFailure {
    bool reading;
    int error;
};

// Writes to a file descriptor only when flushed, and then all it holds with
// one write(2) (more only when the system takes part of it), so that a line
// formatted whole and then flushed leaves in one write whatever its length.
// A piece that comes while the buffer is empty and is too large for it goes
// out at once, again in one write. The buffer grows to hold what is not yet
// flushed. A call that a signal interrupts is made again, and one that finds
// a descriptor that does not block unready waits for it first.
// Throws: StreamFailure when a write fails, std::bad_alloc.
class OutputBuffer final : public std::streambuf {
public:
    OutputBuffer(int descriptor, std::size_t capacity);

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize size) override;
    int sync() override;

private:
    void make_room(std::size_t size);
    void advance(std::size_t size); // pbump, for any size
    void send(const char* data, std::size_t size);

    int descriptor_;
    std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;
};

// Reads a file descriptor in blocks, trying a call again as OutputBuffer
// does. Throws: StreamFailure when a read fails (the end of input is not a
// failure).
class InputBuffer final : public std::streambuf {
public:
    explicit InputBuffer(int descriptor);

protected:
    int_type underflow() override;

private:
    static constexpr std::size_t capacity = 64 * 1024;
    int descriptor_;
    std::unique_ptr<char[]> buffer_;
};

#endif
