// The six relations of a Comparable kind, written once: a value relates only
// to a value of exactly the same kind, and then by the kind's own order.
#pragma once

#include "CorePlugin/common/Comparable.h"

#include <functional>

namespace CorePlugin {

// `Kind` derives from ComparableKind<Kind> and offers `orderValue()`, the value
// whose natural order is the kind's order. Different kinds never relate: all
// six relations, `!=` included, are false between them.
template <typename Kind> class ComparableKind : public Comparable {
public:
    bool operator>(const Comparable& other) override { return relate(other, std::greater<>()); }
    bool operator>=(const Comparable& other) override {
        return relate(other, std::greater_equal<>());
    }
    bool operator==(const Comparable& other) override { return relate(other, std::equal_to<>()); }
    bool operator<=(const Comparable& other) override { return relate(other, std::less_equal<>()); }
    bool operator<(const Comparable& other) override { return relate(other, std::less<>()); }
    bool operator!=(const Comparable& other) override {
        return relate(other, std::not_equal_to<>());
    }

private:
    template <typename Relation> bool relate(const Comparable& other, Relation relation) const {
        const Kind* that = dynamic_cast<const Kind*>(&other);
        if (!that)
            return false;
        return relation(static_cast<const Kind&>(*this).orderValue(), that->orderValue());
    }
};

} // namespace CorePlugin
