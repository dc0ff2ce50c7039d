// A journal's bytes as a start-up finds them: whatever they are, the replay
// ends without a fault, never claims more good bytes than it read, and what
// it calls good replays again to the same list with nothing torn or damaged.
// Records appended after the good bytes (as a restored run appends them)
// apply on top of that list, zeros after it (the room written ahead) change
// nothing, and a snapshot of it rebuilds it exactly.

#include "journal/JournalFormat.h"

#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kMaxItems = 64; // small, so the limit itself is reached

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const journal::Replay r = journal::replay(bytes, kMaxItems);
    fuzz::check(r.goodBytes <= size, "good bytes beyond the journal", bytes);
    fuzz::check(r.state.items.size() <= kMaxItems, "more items than the list holds", bytes);
    if (r.problem == journal::Problem::NotAJournal || r.problem == journal::Problem::NewerVersion) {
        fuzz::check(r.records == 0 && r.state.items.empty(), "a foreign journal replayed", bytes);
        return 0;
    }
    if (r.goodBytes < journal::kHeaderSize)
        return 0; // cut inside the header: nothing recorded yet

    const std::string_view good = bytes.substr(0, r.goodBytes);
    const journal::Replay again = journal::replay(good, kMaxItems);
    fuzz::check(again.problem == journal::Problem::None && !again.tornTail,
                "the good part does not replay cleanly", bytes);
    fuzz::check(again.state == r.state && again.records == r.records,
                "the good part replays to another list", bytes);

    // A restored run goes on after the good bytes.
    std::string continued(good);
    continued += journal::appendRecord({"12.5"});
    const journal::Replay next = journal::replay(continued, kMaxItems + 1);
    fuzz::check(next.problem == journal::Problem::None, "an appended record does not apply", bytes);
    fuzz::check(next.state.items.size() == r.state.items.size() + 1
                    && next.state.items.back() == "12.5",
                "an appended record changed the list otherwise", bytes);

    // Zeros after a journal that is not cut are room written ahead for later
    // records: they change nothing that replays. (After a cut they may
    // complete a record whose missing bytes were zeros.)
    if (!r.tornTail) {
        const journal::Replay roomy = journal::replay(std::string(bytes) + std::string(512, '\0'), kMaxItems);
        fuzz::check(roomy.state == r.state && roomy.records == r.records && roomy.problem == r.problem
                        && roomy.goodBytes == r.goodBytes && !roomy.tornTail,
                    "the room after a journal changed its replay", bytes);
    }

    const journal::Replay rebuilt =
        journal::replay(journal::header() + journal::snapshotRecords(r.state), kMaxItems);
    fuzz::check(rebuilt.state == r.state, "a snapshot does not rebuild the list", bytes);
    return 0;
}
