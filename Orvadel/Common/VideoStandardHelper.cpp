#include "VideoStandardHelper.h"

#include <utility>

namespace {

// The standards in the order pages list them. PAL G (0x40) has no row.
const std::pair<long, const char*> kStandardRows[] = {
    {0x0, "None"},          {0x1, "NTSC_M"},        {0x2, "NTSC_M_J"},      {0x4, "NTSC_433"},
    {0x10, "PAL_B"},        {0x20, "PAL_D"},        {0x80, "PAL_H"},        {0x100, "PAL_I"},
    {0x200, "PAL_M"},       {0x400, "PAL_N"},       {0x800, "PAL_60"},      {0x1000, "SECAM_B"},
    {0x2000, "SECAM_D"},    {0x4000, "SECAM_G"},    {0x8000, "SECAM_H"},    {0x10000, "SECAM_K"},
    {0x20000, "SECAM_K1"},  {0x40000, "SECAM_L"},   {0x80000, "SECAM_L1"},  {0x100000, "PAL_N_COMBO"},
};

}  // namespace

CVideoStandardHelper::CVideoStandardHelper() {
    for (const auto& row : kStandardRows) m_rows.Add(row);
}

CVideoStandardHelper::~CVideoStandardHelper() = default;

std::string CVideoStandardHelper::GetName(long value) const {
    std::string name;
    m_rows.Find(value, name);
    return name;
}

void CVideoStandardHelper::GetIndexesOfMask(long mask, CArray<int, int>& out) const {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if ((m_rows[i].first & mask) != 0) out.Add(static_cast<int>(i));
    }
}

void CVideoStandardHelper::GetRowsOfMask(long mask, CArray<Row>& out) const {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if ((m_rows[i].first & mask) != 0) out.Add(m_rows[i]);
    }
}

long CVideoStandardHelper::CombineMask(const CArray<long, long>& values) const {
    long mask = 0;
    for (long value : values) mask |= value;
    return mask;
}

int CVideoStandardHelper::IndexOf(long value) const {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].first == value) return static_cast<int>(i);
    }
    return -1;
}

long CVideoStandardHelper::GetValue(const char* name) const {
    if (name == nullptr) return 0;
    std::string upper(name);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].second == upper) return m_rows[i].first;
    }
    return 0;
}
