// The root of every expression object.
#include "PluginSDK/Expression.h"

#include <cwchar>
#include <new>
#include <utility>

namespace PluginSDK {

struct Expression::Property {
    PropertyPtr next;
    // Whether the block is the expression's inline room rather than an allocation.
    bool isInline;

    const wchar_t* name() const { return reinterpret_cast<const wchar_t*>(this + 1); }
};

namespace {

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

Expression::Expression() = default;
Expression::~Expression() = default;

Expression::PropertyPtr Expression::makeProperty(const wchar_t* name, const wchar_t* value) {
    static_assert(alignof(Property) <= alignof(void*), "a block must fit the inline room");
    const std::size_t nameLength = std::wcslen(name);
    const std::size_t valueLength = std::wcslen(value);
    const std::size_t bytes = sizeof(Property) + (nameLength + valueLength + 2) * sizeof(wchar_t);
    bool useInline = bytes <= kInlineBytes;
    for (const Property* property = m_Properties.get(); property && useInline;
         property = property->next.get())
        useInline = !property->isInline;
    void* block = useInline ? static_cast<void*>(m_Inline) : ::operator new(bytes);
    PropertyPtr property(new (block) Property{PropertyPtr(), useInline});
    auto* text = reinterpret_cast<wchar_t*>(property.get() + 1);
    std::wmemcpy(text, name, nameLength + 1);
    std::wmemcpy(text + nameLength + 1, value, valueLength + 1);
    return property;
}

const wchar_t* Expression::getProperty(const wchar_t* name) const {
    if (!name)
        return nullptr;
    for (const Property* property = m_Properties.get(); property; property = property->next.get())
        if (const wchar_t* value = valueIfNamed(property->name(), name))
            return value;
    return nullptr;
}

void Expression::setProperty(const wchar_t* name, const wchar_t* value) {
    if (!name)
        return;
    // The new block first, so that a failed allocation leaves the old value.
    PropertyPtr added = value ? makeProperty(name, value) : PropertyPtr();
    PropertyPtr* link = &m_Properties;
    while (*link && !valueIfNamed((*link)->name(), name))
        link = &(*link)->next;
    if (*link) {
        PropertyPtr rest = std::move((*link)->next);
        *link = std::move(rest);
    }
    if (added) {
        added->next = std::move(m_Properties);
        m_Properties = std::move(added);
    }
}

} // namespace PluginSDK
