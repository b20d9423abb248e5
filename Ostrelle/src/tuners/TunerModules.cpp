// The module table's entries: each row with its creator.
#include "tuners/TunerModules.h"

#include <utility>

#include "tuners/TunerModuleRows.h"

namespace {

using tuner_rows::kRows;

// A row's creator: its own class's where it names one, else the plain module over the row. The
// choice is made here rather than in the constant table, as a function's address is not a constant
// every build can compare.
template <size_t Index>
CTunerBase* CreateRow(CCustomDataAccess* pAccess)
{
    if (kRows[Index].create != nullptr) return kRows[Index].create(pAccess);
    return new CPllTunerModule(pAccess, kRows[Index]);
}

template <size_t... Index>
constexpr std::array<TunerModuleEntry, sizeof...(Index)> MakeEntries(std::index_sequence<Index...>)
{
    return {{{&kRows[Index], &CreateRow<Index>}...}};
}

constexpr auto kEntries = MakeEntries(std::make_index_sequence<std::size(kRows)>());

const TunerModuleEntry* FindEntry(long model)
{
    for (const TunerModuleEntry& entry : kEntries)
        if (entry.row->model == model) return &entry;
    return nullptr;
}

}  // namespace

std::span<const TunerModuleEntry> TunerModuleEntries()
{
    return kEntries;
}

const TunerModuleRow* FindTunerModuleRow(long model)
{
    const TunerModuleEntry* entry = FindEntry(model);
    return entry != nullptr ? entry->row : nullptr;
}

TunerCreator FindTunerCreator(long model)
{
    const TunerModuleEntry* entry = FindEntry(model);
    return entry != nullptr ? entry->create : nullptr;
}

