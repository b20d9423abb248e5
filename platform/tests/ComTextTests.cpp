// BSTR and VARIANT: who owns the text and the interface a value holds.
#include <gtest/gtest.h>

#include "ComTestObjects.h"

namespace {

TEST(Bstr, CopiesTheTextAndKnowsItsLength) {
    std::wstring text = L"Kesh 7134 Capture";
    BSTR copy = SysAllocString(text.c_str());
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, text.c_str());
    EXPECT_EQ(std::wstring(copy), text);
    EXPECT_EQ(SysStringLen(copy), text.size());
    EXPECT_EQ(SysStringByteLen(copy), text.size() * sizeof(OLECHAR));
    SysFreeString(copy);
}

TEST(Bstr, NullIsTheEmptyText) {
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
    BSTR empty = SysAllocString(L"");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    EXPECT_EQ(empty[0], 0);
    SysFreeString(empty);
}

TEST(Bstr, CountedTextsMayHoldEmbeddedNuls) {
    const OLECHAR parts[] = {L'a', 0, L'b'};
    BSTR text = SysAllocStringLen(parts, 3);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 3u);
    EXPECT_EQ(text[2], L'b');
    EXPECT_EQ(text[3], 0);
    ASSERT_TRUE(SysReAllocString(&text, L"longer text"));
    EXPECT_EQ(std::wstring(text), L"longer text");
    SysFreeString(text);
}

TEST(Variant, ClearFreesTheTextAndReleasesTheInterface) {
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(value.vt, VT_EMPTY);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(L"FriendlyName");
    EXPECT_EQ(VariantClear(&value), S_OK);  // ASan reports the text if it is not freed
    EXPECT_EQ(value.vt, VT_EMPTY);

    CComPtr<ITestCounter> counter;
    counter.Attach(new TestCounter);
    value.vt = VT_UNKNOWN;
    value.punkVal = counter;
    counter->AddRef();  // the VARIANT's reference
    EXPECT_EQ(RefCount(counter), 2u);
    VariantClear(&value);
    EXPECT_EQ(RefCount(counter), 1u);
}

TEST(Variant, CopyIsDeepAndOwnedSeparately) {
    VARIANT source, target;
    VariantInit(&source);
    VariantInit(&target);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(L"abc");
    ASSERT_EQ(VariantCopy(&target, &source), S_OK);
    EXPECT_NE(target.bstrVal, source.bstrVal);
    EXPECT_EQ(std::wstring(target.bstrVal), L"abc");
    VariantClear(&source);
    EXPECT_EQ(std::wstring(target.bstrVal), L"abc");

    VARIANT number;
    VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = -5;
    ASSERT_EQ(VariantCopy(&target, &number), S_OK);  // the old text is freed first
    EXPECT_EQ(target.vt, VT_I4);
    EXPECT_EQ(target.lVal, -5);
}

}  // namespace
