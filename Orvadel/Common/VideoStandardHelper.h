// CVideoStandardHelper: the analogue video standards (the bit values the card filters report and
// accept) and their short names; splits a mask of standards into its rows and combines values.
#pragma once

#include <afx.h>
#include <afxtempl.h>

#include <string>

#include "zelk/MClassStringArray.h"

class CVideoStandardHelper {
public:
    typedef zelk::MClassStringArray<long>::Row Row;

    CVideoStandardHelper();
    virtual ~CVideoStandardHelper();

    // The name of the first row with exactly `value`; empty when no row has it.
    std::string GetName(long value) const;
    // Appends, in table order, the index of every row whose value shares a bit with `mask`.
    void GetIndexesOfMask(long mask, CArray<int, int>& out) const;
    // Appends, in table order, every row whose value shares a bit with `mask`.
    void GetRowsOfMask(long mask, CArray<Row>& out) const;
    // The bitwise OR of all values; 0 for none.
    long CombineMask(const CArray<long, long>& values) const;
    // The index of the first row with `value`; -1 when none.
    int IndexOf(long value) const;
    // The value of the row named `name` after upper-casing a to z; 0 when no row matches.
    long GetValue(const char* name) const;

    int GetCount() const { return static_cast<int>(m_rows.size()); }
    const Row& GetRow(int index) const { return m_rows[static_cast<size_t>(index)]; }

private:
    zelk::MClassStringArray<long> m_rows;
};
