// A per-thread memo of zone constants, for records a caller builds itself: the constants a
// projection derives from a few doubles of its ellipsoid and zone are kept, keyed by the
// exact bits of those doubles, and derived again only when a key not among the last few
// comes along. A key matches only bit for bit (so 0.0 and -0.0 are different keys, and a
// NaN matches only the same NaN), and the constants are a pure function of the key, so a
// result computed from remembered constants is bit for bit the result of deriving them
// afresh. Each thread has its own memo: nothing is shared, no lock is taken, and every
// conversion that was re-entrant stays re-entrant.
#ifndef KELVANE_CORE_CONSTANTS_MEMO_H
#define KELVANE_CORE_CONSTANTS_MEMO_H

#include <cstdint>
#include <cstring>

namespace kelvane {

// Value: the constants (trivially copyable); Keys: how many doubles name them. Zero
// initialised is empty, so a thread_local memo needs no constructor call. Four entries
// serve a host that converts between a few zones in turn; beyond that the oldest entry
// is derived again.
template <class Value, int Keys, int Entries = 4>
class ConstantsMemo {
public:
    // The constants of key: remembered ones when key was seen lately, else derive(), which
    // is then remembered.
    template <class Derive>
    const Value& get(const double (&key)[Keys], Derive derive)
    {
        if (matches(last_, key)) return entries_[last_].value; // the usual case: the zone of the last call
        for (int i = 0; i < Entries; ++i) {
            if (matches(i, key)) return entries_[last_ = i].value;
        }
        last_ = next_;
        next_ = (next_ + 1) % Entries;
        Entry& e = entries_[last_];
        e.value = derive();
        for (int k = 0; k < Keys; ++k) e.key[k] = bitsOf(key[k]);
        e.filled = true;
        return e.value;
    }

private:
    struct Entry {
        std::uint64_t key[Keys];
        Value value;
        bool filled;
    };

    static std::uint64_t bitsOf(double x)
    {
        std::uint64_t b;
        std::memcpy(&b, &x, sizeof b);
        return b;
    }

    bool matches(int i, const double (&key)[Keys]) const
    {
        const Entry& e = entries_[i];
        bool same = e.filled;
        for (int k = 0; k < Keys; ++k) same &= e.key[k] == bitsOf(key[k]);
        return same;
    }

    Entry entries_[Entries];
    int last_;
    int next_;
};

} // namespace kelvane

#endif
