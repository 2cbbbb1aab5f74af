// The C syntax scanner behind the editor's colouring: a single pass over a range of bytes that
// yields coloured runs in text order. It knows nothing of the editor control; the frame applies
// the runs it yields. No window-system code here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace scrivo {

// The colour slots a run can take; their colours come from the current scheme.
enum class ColorSlot : std::uint8_t { Text, Keyword, Operator, Directive, String, Comment };
inline constexpr int kColorSlotCount = static_cast<int>(ColorSlot::Comment) + 1;

// A run [start, end) of the scanned range, in byte offsets from the range's first byte.
struct Run {
    std::size_t start;
    std::size_t end;
    ColorSlot slot;
    bool operator==(const Run &) const = default;
};

// The three word tables the scanner matches against, in their fixed order: among operators of
// equal length, the one earlier in the table wins.
struct WordTables {
    std::vector<std::string> keywords;
    std::vector<std::string> operators;
    std::vector<std::string> directives;

    // The editor's tables: 35 keywords, 30 operators then 9 punctuators, 10 directives.
    static WordTables Standard();
};

class Scanner {
  public:
    explicit Scanner(const WordTables &tables);

    // Appends the runs of `text` to `runs` (which is not cleared). Only keyword, operator,
    // directive, string and comment runs are yielded; everything else keeps the text colour.
    // Reads nothing outside `text`.
    void Scan(std::string_view text, std::vector<Run> &runs) const;

    std::vector<Run> Scan(std::string_view text) const {
        std::vector<Run> runs;
        Scan(text, runs);
        return runs;
    }

    // Receives the slots of [offset, offset + slotBytes.size()) of the scanned text.
    using SlotPainter = std::function<void(std::size_t offset, std::string_view slotBytes)>;

    // Gives every byte of `text` its slot (the text slot where no run lies), delivered to `paint`
    // in consecutive pieces of at most `pieceBytes` (at least 1) that together cover the text in
    // order. All pieces share one buffer of that size, so colouring a large text needs no storage
    // in proportion to it.
    void PaintSlots(std::string_view text, std::size_t pieceBytes, const SlotPainter &paint) const;

  private:
    // One table's entries grouped by first byte in a flat pool, so that a token is compared only
    // with the few entries that can match it and no comparison leaves the cache line.
    class FirstByteIndex {
      public:
        enum class Order { Table, LongestFirst };

        // Empty entries can never match and are dropped. LongestFirst keeps table order among
        // entries of equal length, so the first of them wins.
        FirstByteIndex(const std::vector<std::string> &entries, Order order);

        bool Contains(const char *word, std::size_t length) const;
        // The length of the first entry (in the index's order) that starts `rest`, 0 when none.
        std::size_t FirstPrefix(const char *rest, std::size_t available) const;
        bool HasEntriesStartingWith(unsigned char first) const {
            return m_groupStart[first] != m_groupStart[first + 1];
        }

      private:
        struct Entry {
            std::uint32_t offset;
            std::uint32_t length;
        };
        std::string m_pool;
        std::vector<Entry> m_entries;
        // Group b holds m_entries[m_groupStart[b], m_groupStart[b + 1]).
        std::array<std::uint32_t, 257> m_groupStart{};
        // Bit k set when group b has an entry of length k (k < 63; bit 63 for all longer ones).
        std::array<std::uint64_t, 256> m_lengthMasks{};
    };

    enum class Action : std::uint8_t { Skip, Quote, Slash, Hash, Word, Operator };

    // Calls emit(start, end, slot) for each run of `text`, in text order.
    template <typename Emit>
    void ForEachRun(std::string_view text, Emit &&emit) const;

    FirstByteIndex m_keywords;
    FirstByteIndex m_operators;
    FirstByteIndex m_directives;
    // What a byte starts, decided once for these tables.
    std::array<Action, 256> m_actions{};
};

}  // namespace scrivo
