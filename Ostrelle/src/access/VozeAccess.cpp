#include "access/VozeAccess.h"

namespace {

// The second mode word of a GPIO read: lines 12 and 13 driven.
constexpr DWORD kGpioReadMode = 0x80003000;

}  // namespace

CVozeAccess::CVozeAccess() : CKsPropertyAccess(kGpioReadMode) {}

CVozeAccess::~CVozeAccess() = default;

HRESULT CVozeAccess::Reserved27(DWORD* pValue) { return CCustomDataAccess::Reserved27(pValue); }

HRESULT CVozeAccess::Reserved28(BOOL flag) { return CCustomDataAccess::Reserved28(flag); }
