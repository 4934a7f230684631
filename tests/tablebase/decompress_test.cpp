
#include <algorithm>

#include "tablebase/decompress.h"
#include "tablebase/probe.h"
#include "tablebase/table_files.h"
#include "tb_test_util.h"

namespace {

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Names of the real set, read from the directory.
std::vector<std::string> real_names() {
    std::vector<std::string> names;
    for (const auto& f : std::filesystem::directory_iterator(TB_REAL_DIR))
        if (f.path().extension() == ".rtbw") names.push_back(f.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Parses a file held in an exactly sized heap buffer into a copy of the
// registered entry, so that a read past the end shows under AddressSanitizer.
template <class Entry>
struct ParsedCopy {
    Entry entry;
    std::vector<uint8_t> bytes;
    bool ok;
    ParsedCopy(const TbEntry& registered, const std::string& path, int kind)
        : entry(static_cast<const Entry&>(registered)), bytes(read_file(path)) {
        for (auto& enc : entry.enc) enc.codebook = nullptr;
        for (uint32_t& r : entry.ready) r = 0;
        ok = tb_parse_table(entry, kind, bytes.data(), bytes.size());
    }
    ~ParsedCopy() {
        tb_free_codebooks(entry, TB_WDL);
        tb_free_codebooks(entry, TB_DTZ);
    }
};

const TbCodebook* codebook_of(const TbPieceEntry& e, int kind, int side, int) {
    return e.enc[kind == TB_DTZ ? 2 : side].codebook;
}
const TbCodebook* codebook_of(const TbPawnEntry& e, int kind, int side, int t) {
    return e.enc[kind == TB_DTZ ? 8 + t : 4 * side + t].codebook;
}

// Decodes every stride-th index (and the last) of every table of one file.
template <class Entry>
void decode_file(const TbEntry& registered, const std::string& name, int kind, uint64_t stride, uint64_t& decoded) {
    ParsedCopy<Entry> copy(registered, TB_REAL_DIR + "/" + name + TB_EXTENSION[kind], kind);
    ASSERT_TRUE(copy.ok) << name << TB_EXTENSION[kind];
    const int groups = registered.has_pawns ? 4 : 1;
    for (int t = 0; t < groups; t++)
        for (int side = 0; side < (kind == TB_WDL ? 2 : 1); side++) {
            const TbCodebook* cb = codebook_of(copy.entry, kind, side, t);
            if (!cb) {
                ASSERT_TRUE(kind == TB_WDL && side == 1 && registered.symmetric) << name;
                continue;
            }
            for (uint64_t i = 0;; i += stride) {
                if (i >= cb->size) i = cb->size - 1;
                const uint8_t* v = tb_decode_value(*cb, i);
                ASSERT_NE(v, nullptr) << name << " index " << i;
                if (kind == TB_WDL) {
                    ASSERT_LE(v[0], 4) << name << " index " << i;
                }
                if (i == cb->size - 1) break;
            }
            EXPECT_EQ(tb_decode_value(*cb, cb->size), cb->idx_bits ? nullptr : cb->const_value);
            decoded += cb->size;
        }
}

void decode_real_set(uint64_t stride) {
    load_real_tables();
    std::vector<std::string> names = real_names();
    ASSERT_EQ(names.size(), 35u);
    uint64_t decoded = 0;
    for (const std::string& name : names) {
        TbEntry* e = entry_of(name.c_str());
        ASSERT_NE(e, nullptr) << name;
        for (int kind : {TB_WDL, TB_DTZ}) {
            if (e->has_pawns) {
                decode_file<TbPawnEntry>(*e, name, kind, stride, decoded);
            } else {
                decode_file<TbPieceEntry>(*e, name, kind, stride, decoded);
            }
        }
    }
    EXPECT_EQ(decoded, 247544712u);  // values in all tables of the set
}

TEST(TbDecompress, SpreadIndexesOfEveryRealTableDecodeInsideTheirFile) { decode_real_set(97); }

// Every index of every table: a minute in a release build, several under
// AddressSanitizer. Run with --gtest_also_run_disabled_tests.
TEST(TbDecompress, DISABLED_EveryIndexOfEveryRealTableDecodesInsideItsFile) { decode_real_set(1); }

TEST(TbDecompress, ConstantTableAndDamagedStreams) {
    load_real_tables();
    TbEntry* e = entry_of("KBvK");  // a bishop alone never wins: a constant table
    ASSERT_NE(e, nullptr);
    ParsedCopy<TbPieceEntry> wdl(*e, TB_REAL_DIR + "/KBvK.rtbw", TB_WDL);
    ASSERT_TRUE(wdl.ok);
    for (int side = 0; side < 2; side++) {
        const TbCodebook* cb = wdl.entry.enc[side].codebook;
        if (!cb) continue;
        EXPECT_EQ(cb->idx_bits, 0);
        EXPECT_EQ(cb->index_table, nullptr);
        EXPECT_EQ(tb_decode_value(*cb, 12345)[0], 2);  // draw
    }

    // A file cut short fails the parse; so does a WDL file read as DTZ.
    std::vector<uint8_t> kqk = read_file(TB_REAL_DIR + "/KQvK.rtbw");
    TbEntry* q = entry_of("KQvK");
    for (size_t cut : {size_t(3), size_t(9), size_t(40), kqk.size() / 2, kqk.size()}) {
        TbPieceEntry copy = static_cast<TbPieceEntry&>(*q);
        for (auto& enc : copy.enc) enc.codebook = nullptr;
        const int kind = cut == kqk.size() ? TB_DTZ : TB_WDL;
        EXPECT_FALSE(tb_parse_table(copy, kind, kqk.data(), cut)) << cut;
        tb_free_codebooks(copy, kind);
    }

    // Scrambled data blocks still decode to some value or none, never outside the buffer.
    ParsedCopy<TbPieceEntry> scrambled(*q, TB_REAL_DIR + "/KQvK.rtbw", TB_WDL);
    ASSERT_TRUE(scrambled.ok);
    const TbCodebook* cb = scrambled.entry.enc[0].codebook;
    ASSERT_NE(cb, nullptr);
    size_t data_at = size_t(cb->data - scrambled.bytes.data());
    uint32_t seed = 12345;
    for (size_t i = data_at; i < scrambled.bytes.size(); i++) scrambled.bytes[i] = uint8_t((seed = seed * 1103515245 + 12345) >> 16);
    for (uint64_t i = 0; i < cb->size; i += 7) tb_decode_value(*cb, i);
}

}  // namespace
