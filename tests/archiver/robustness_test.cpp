// Damaged archives: seeded byte flips, truncations and overwritten record fields. Every mutant
// either loads (and then takes one more entry and a commit, after which it must load again with
// that entry) or is refused with an archiver or stream exception. ARCHIVER_MUTANTS=<n> runs a
// longer series.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "archiver/archive_fixtures.h"
#include "archiver/vorbex.h"
#include "archiver/zip/records.h"

using namespace archive_fixtures;

namespace {

// Positions of the fields a reader trusts: the end record's counts, size, offset and comment
// length, and each central header's sizes, lengths and offset.
std::vector<std::pair<size_t, int>> TrustedFields(const std::vector<uint8_t>& b) {
    std::vector<std::pair<size_t, int>> fields;
    for (size_t at = b.size() >= 22 ? b.size() - 22 : 0; at-- > 0;) {
        if (U32At(b, at) != TEndRecord::Signature) continue;
        for (auto [offset, width] : {std::pair{8, 2}, {10, 2}, {12, 4}, {16, 4}, {20, 2}})
            fields.push_back({at + offset, width});
        break;
    }
    for (size_t at = 0; at + 46 <= b.size(); ++at) {
        if (U32At(b, at) != TCentralHeader::Signature) continue;
        for (auto [offset, width] : {std::pair{20, 4}, {24, 4}, {28, 2}, {30, 2}, {32, 2}, {42, 4}})
            fields.push_back({at + offset, width});
    }
    return fields;
}

std::vector<uint8_t> Mutate(const std::vector<uint8_t>& original, std::mt19937& rng) {
    std::vector<uint8_t> b = original;
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    switch (pick(3)) {
        case 0:  // byte flips, mostly near the end where the directory lives
            for (size_t n = 1 + pick(8); n-- > 0;) {
                size_t at = pick(2) ? b.size() - 1 - pick(std::min<size_t>(b.size(), 200)) : pick(b.size());
                b[at] ^= static_cast<uint8_t>(1 + pick(255));
            }
            break;
        case 1:  // truncation
            b.resize(pick(b.size()));
            break;
        default: {  // a trusted field overwritten with a telling value
            auto fields = TrustedFields(b);
            if (fields.empty()) break;
            auto [at, width] = fields[pick(fields.size())];
            const uint32_t values[] = {0, 1, 0xFFFF, 0xFFFFFFFF, 0x7FFFFFFF, static_cast<uint32_t>(b.size()),
                                       static_cast<uint32_t>(rng())};
            uint32_t v = values[pick(std::size(values))];
            for (int i = 0; i < width; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
        }
    }
    return b;
}

struct Tally {
    int loaded = 0, refusedOnLoad = 0, refusedOnCommit = 0;
};

// Appends an entry, or (rewrite) changes the first entry's attributes so that the whole archive
// goes through the temporary copy. A refused commit must leave the file as it was.
void TryMutant(const std::string& path, bool rewrite, Tally& tally) {
    const std::vector<uint8_t> mutant = ReadFileBytes(path);
    TVorbex v(nullptr);
    v.SetFileName(path);
    try {
        v.OpenDefault();
    } catch (const EVXException&) {
        ++tally.refusedOnLoad;
        return;
    } catch (const EStreamError&) {
        ++tally.refusedOnLoad;
        return;
    }
    ++tally.loaded;
    const int before = v.Directory()->Items.Count();
    rewrite = rewrite && before > 0;
    bool refused = false;
    try {
        v.BeginUpdate();
        if (rewrite) {
            TDirItem& first = *v.Directory()->Items.ItemPtr(0);
            first.Pending = 1;
            first.Operation = poChangeAttr;
        } else {
            AppendMemoryItem(v, "appended.txt", "one more entry");
        }
        v.EndUpdate();
    } catch (const EVXException&) {
        refused = true;
    } catch (const EStreamError&) {
        refused = true;
    }
    v.Close();
    if (refused) {
        ++tally.refusedOnCommit;
        if (rewrite) {
            ASSERT_EQ(ReadFileBytes(path), mutant) << "rollback after a refused rewrite";
        }
        return;
    }
    TVorbex again(nullptr);
    again.SetFileName(path);
    again.Open(0x40);
    ASSERT_EQ(again.Directory()->Items.Count(), before + (rewrite ? 0 : 1)) << path;
    if (!rewrite) {
        EXPECT_EQ(again.Directory()->Items.ItemPtr(before)->StoredName, "appended.txt");
    }
}

}  // namespace

TEST(Robustness, MutatedArchivesLoadOrAreRefused) {
    const char* env = std::getenv("ARCHIVER_MUTANTS");
    const int perArchive = env ? std::max(1, std::atoi(env)) : 60;
    const std::string path = ScratchFolder("mutants") + "\\m.zip";
    Tally tally;
    for (const char* file : {"python.zip", "infozip.zip", "prefix100.zip", "bsdtar.zip", "sevenzip.zip",
                             "inner_last.zip", "empty_commented.zip"}) {
        const std::vector<uint8_t> original = ReadFileBytes(CorpusPath(file));
        for (int seed = 0; seed < perArchive; ++seed) {
            std::mt19937 rng(static_cast<uint32_t>(seed * 7919 + original.size()));
            WriteFileBytes(path, Mutate(original, rng));
            TryMutant(path, seed % 2 == 1, tally);
            if (HasFatalFailure()) {
                ADD_FAILURE() << file << " seed " << seed;
                return;
            }
        }
    }
    std::printf("mutants: %d loaded, %d refused on loading, %d refused on commit\n", tally.loaded,
                tally.refusedOnLoad, tally.refusedOnCommit);
    EXPECT_GT(tally.loaded, 0);
    EXPECT_GT(tally.refusedOnLoad, 0);
}
