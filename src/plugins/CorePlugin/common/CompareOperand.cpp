// The base of comparing operands and the relation dispatch.
#include "CorePlugin/common/CompareOperand.h"

#include "CorePlugin/ResultCodes.h"
#include "CorePlugin/TruthValues.h"
#include "CorePlugin/common/Converter.h"

#include <cassert>
#include <cwchar>
#include <memory>

namespace CorePlugin {

namespace {

constexpr const wchar_t* kRelationProperty = L"relation";
constexpr const wchar_t* kMustExistProperty = L"mustExist";

struct RelationEntry {
    const wchar_t* name;
    bool (Comparable::*apply)(const Comparable&);
};

// In the order in which relation names are compared.
// clang-format off
constexpr RelationEntry kRelations[] = {
    {CompareOperand::kRelationNames[0], &Comparable::operator==},
    {CompareOperand::kRelationNames[1], &Comparable::operator!=},
    {CompareOperand::kRelationNames[2], &Comparable::operator>},
    {CompareOperand::kRelationNames[3], &Comparable::operator>=},
    {CompareOperand::kRelationNames[4], &Comparable::operator<},
    {CompareOperand::kRelationNames[5], &Comparable::operator<=},
};
// clang-format on

} // namespace

TErrorCode CompareOperand::compare(Comparable* first, Comparable* second, const wchar_t* relation,
                                   bool& result) {
    if (!first || !second || !relation)
        return RC_INVALID_ARGUMENT;
    for (const RelationEntry& entry : kRelations) {
        if (std::wcscmp(entry.name, relation) != 0)
            continue;
        result = (first->*entry.apply)(*second);
        return RC_SUCCESS;
    }
    return RC_UNKNOWN_RELATION;
}

TErrorCode CompareOperand::getRelation(const wchar_t** relation) {
    if (!relation)
        return RC_INVALID_ARGUMENT;
    *relation = getProperty(kRelationProperty);
    return *relation ? RC_SUCCESS : RC_RELATION_MISSING;
}

TErrorCode CompareOperand::getMustExistAttribute(bool& mustExist) {
    const wchar_t* text = getProperty(kMustExistProperty);
    if (!text) {
        mustExist = false;
        return RC_SUCCESS;
    }
    if (!isTruthValue(text))
        return RC_INVALID_MUST_EXIST;
    mustExist = isTrueText(text);
    return RC_SUCCESS;
}

TErrorCode CompareOperand::getOperands(Comparable** first, Comparable** second) {
    assert(first != nullptr && "firstOperand != __null");
    assert(second != nullptr && "secondOperand != __null");
    if (!first || !second)
        return RC_INVALID_ARGUMENT;
    *first = nullptr;
    *second = nullptr;

    TErrorCode rc = getFirstOperand(first);
    if (rc != RC_SUCCESS) {
        assert(*first == nullptr && "*firstOperand == __null");
        delete *first;
        *first = nullptr;
        return rc;
    }
    assert(*first != nullptr && "*firstOperand != __null");

    // Held while the second is made, so that nothing leaks if that throws.
    std::unique_ptr<Comparable> firstHeld(*first);
    rc = getSecondOperand(second);
    if (rc != RC_SUCCESS) {
        assert(*second == nullptr && "*secondOperand == __null");
        delete *second;
        *second = nullptr;
        *first = nullptr;
        return rc;
    }
    assert(*second != nullptr && "*secondOperand != __null");
    *first = firstHeld.release(); // the caller owns both from here
    return RC_SUCCESS;
}

TErrorCode CompareOperand::getScalarResult(PluginSDK::String& result) {
    result = static_cast<const wchar_t*>(nullptr);

    const wchar_t* relation = nullptr;
    TErrorCode rc = getRelation(&relation);
    if (rc != RC_SUCCESS)
        return rc;
    assert(relation != nullptr && "relation != __null");

    Comparable* firstOperand = nullptr;
    Comparable* secondOperand = nullptr;
    rc = getOperands(&firstOperand, &secondOperand);
    if (rc == RC_SUCCESS) {
        std::unique_ptr<Comparable> first(firstOperand);
        std::unique_ptr<Comparable> second(secondOperand);
        bool outcome = false;
        rc = compare(first.get(), second.get(), relation, outcome);
        if (rc == RC_SUCCESS)
            result = Converter::toString(outcome);
        return rc;
    }
    if (rc != RC_COMPARED_FILE_MISSING)
        return rc;

    bool mustExist = true;
    TErrorCode mustExistRc = getMustExistAttribute(mustExist);
    if (mustExistRc != RC_SUCCESS)
        return mustExistRc;
    if (mustExist)
        return rc;
    result = Converter::toString(false);
    return RC_SUCCESS;
}

} // namespace CorePlugin
