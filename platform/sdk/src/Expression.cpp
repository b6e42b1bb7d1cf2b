// The root of every expression object.
#include "PluginSDK/Expression.h"

#include <cwchar>
#include <exception>
#include <new>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace PluginSDK {

struct Expression::Property {
    PropertyPtr next;
    Property* previous;
    // Whether the block is the expression's inline room rather than an allocation.
    bool isInline;

    const wchar_t* name() const { return reinterpret_cast<const wchar_t*>(this + 1); }
    const wchar_t* value() const { return name() + std::wcslen(name()) + 1; }
};

struct Expression::Index {
    // The keys view the names inside the blocks, which never move.
    std::unordered_map<std::wstring_view, Property*> byName;
};

namespace {

constexpr TErrorCode kOutOfMemory = -103;

// The value of a stored property (the text after its name's NUL) when its
// name is `name`, else null.
inline const wchar_t* valueIfNamed(const wchar_t* stored, const wchar_t* name) {
    while (*stored && *stored == *name) {
        ++stored;
        ++name;
    }
    return *stored == *name ? stored + 1 : nullptr;
}

} // namespace

void Expression::PropertyDeleter::operator()(Property* property) const noexcept {
    // Iteratively: a long list must not recurse once per element.
    while (property) {
        Property* next = property->next.release();
        const bool isInline = property->isInline;
        property->~Property();
        if (!isInline)
            ::operator delete(property);
        property = next;
    }
}

void Expression::IndexDeleter::operator()(Index* index) const noexcept {
    delete index;
}

Expression::Expression() = default;
Expression::~Expression() = default;

Expression::PropertyPtr Expression::makeProperty(const wchar_t* name, const wchar_t* value) {
    static_assert(alignof(Property) <= alignof(void*), "a block must fit the inline room");
    const std::size_t nameLength = std::wcslen(name);
    const std::size_t valueLength = std::wcslen(value);
    const std::size_t bytes = sizeof(Property) + (nameLength + valueLength + 2) * sizeof(wchar_t);
    const bool useInline = bytes <= kInlineBytes && !m_InlineUsed;
    void* block = useInline ? static_cast<void*>(m_Inline) : ::operator new(bytes);
    PropertyPtr property(new (block) Property{PropertyPtr(), nullptr, useInline});
    auto* text = reinterpret_cast<wchar_t*>(property.get() + 1);
    std::wmemcpy(text, name, nameLength + 1);
    std::wmemcpy(text + nameLength + 1, value, valueLength + 1);
    return property;
}

Expression::Property* Expression::find(const wchar_t* name) const {
    if (m_Index) {
        auto found = m_Index->byName.find(std::wstring_view(name));
        return found == m_Index->byName.end() ? nullptr : found->second;
    }
    for (Property* property = m_Properties.get(); property; property = property->next.get())
        if (valueIfNamed(property->name(), name))
            return property;
    return nullptr;
}

const wchar_t* Expression::getProperty(const wchar_t* name) const {
    if (!name)
        return nullptr;
    const Property* property = find(name);
    return property ? property->value() : nullptr;
}

// Links `property` (may be null) in at the front and unlinks `replaced` (may
// be null). Allocates nothing, so it cannot fail.
void Expression::attach(PropertyPtr property, Property* replaced) {
    if (replaced) {
        PropertyPtr& owner = replaced->previous ? replaced->previous->next : m_Properties;
        if (replaced->next)
            replaced->next->previous = replaced->previous;
        if (replaced->isInline)
            m_InlineUsed = false;
        owner = std::move(replaced->next); // destroys `replaced`
        --m_Count;
    }
    if (property) {
        m_InlineUsed = m_InlineUsed || property->isInline;
        property->next = std::move(m_Properties);
        if (property->next)
            property->next->previous = property.get();
        m_Properties = std::move(property);
        ++m_Count;
    }
}

TErrorCode Expression::setProperty(const wchar_t* name, const wchar_t* value) {
    if (!name)
        return 0;
    try {
        // Everything that allocates comes first, so that running out of
        // memory leaves the properties as they were.
        PropertyPtr added = value ? makeProperty(name, value) : PropertyPtr();
        Property* replaced = find(name);
        if (!m_Index && m_Count + (added ? 1 : 0) > kUnindexedProperties) {
            std::unique_ptr<Index, IndexDeleter> index(new Index());
            index->byName.reserve(m_Count + 1);
            for (Property* property = m_Properties.get(); property; property = property->next.get())
                index->byName.emplace(property->name(), property);
            m_Index = std::move(index);
        }
        if (m_Index && replaced && added) {
            // The key views the block about to go: move the entry over to the
            // new block's name, reusing its node (no allocation).
            auto entry = m_Index->byName.extract(std::wstring_view(name));
            entry.key() = added->name();
            entry.mapped() = added.get();
            m_Index->byName.insert(std::move(entry));
        } else if (m_Index && replaced) {
            m_Index->byName.erase(std::wstring_view(name));
        } else if (m_Index && added) {
            m_Index->byName.emplace(added->name(), added.get());
        }
        attach(std::move(added), replaced);
        return 0;
    } catch (const std::exception&) {
        return kOutOfMemory;
    }
}

} // namespace PluginSDK
