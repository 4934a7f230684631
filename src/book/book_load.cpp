#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <new>

#include "book/book.h"
#include "book/book_table.h"

bool book_enabled = false;
std::unique_ptr<BookEntry[]> book_entries;
int32_t book_count = 0;

namespace {

constexpr long BOOK_RECORD_SIZE = 16;

// Big-endian unsigned value of `bytes` bytes: {0x01, 0x02} -> 0x0102.
uint64_t read_big_endian(const unsigned char* p, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
    return value;
}

// Size of an open file in bytes, or -1 when it cannot be measured.
long file_size(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    long size = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

}  // namespace

bool book_load(const char* path) {
    book_entries.reset();
    book_count = 0;
    book_enabled = false;

    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;

    // The entry count is a 32-bit number, so larger files are refused along with odd sizes.
    long size = file_size(file);
    if (size < BOOK_RECORD_SIZE || size % BOOK_RECORD_SIZE != 0 || size > INT32_MAX) {
        std::fclose(file);
        return false;
    }

    std::unique_ptr<unsigned char[]> raw(new (std::nothrow) unsigned char[size]);
    if (!raw || std::fread(raw.get(), 1, size, file) != static_cast<size_t>(size)) {
        std::fclose(file);
        return false;
    }
    std::fclose(file);

    int32_t count = static_cast<int32_t>(size / BOOK_RECORD_SIZE);
    std::unique_ptr<BookEntry[]> entries(new (std::nothrow) BookEntry[count]);
    if (!entries) return false;

    for (int32_t i = 0; i < count; ++i) {
        const unsigned char* record = raw.get() + BOOK_RECORD_SIZE * i;
        entries[i].key = read_big_endian(record, 8);
        entries[i].move = static_cast<uint16_t>(read_big_endian(record + 8, 2));
        entries[i].weight = static_cast<uint16_t>(read_big_endian(record + 10, 2));
    }

    book_entries = std::move(entries);
    book_count = count;
    book_enabled = true;
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    return true;
}
