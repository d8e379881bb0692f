// The behaviour of the eight registry helpers, written once and run against
// every store: natively on the memory store, under Wine on the real registry.
#pragma once

#include "common/RegistryEnvironment.h"
#include "registry/CustomRegistry.h"

#include <gtest/gtest.h>

namespace kavrolt::test {

template <class Env> class RegistryBehaviour : public ::testing::Test {
protected:
    Env env;
    RegistryStore& store() { return env.Store(); }
    std::u16string Key(std::u16string_view sub = u"") { return env.Base() + std::u16string(sub); }
    void Put(std::u16string_view name, std::uint32_t type, std::vector<std::uint8_t> data) {
        env.Put(kHkeyCurrentUser, Key(), name, RawValue{type, std::move(data)});
    }
    std::optional<RawValue> Get(std::u16string_view name, std::u16string_view sub = u"") {
        return env.Get(kHkeyCurrentUser, Key(sub), name);
    }
    std::u16string ReadText(std::u16string_view name) {
        return ReadRegString(store(), kHkeyCurrentUser, Key(), name, u"default", false);
    }
    std::int32_t ReadNumber(std::u16string_view name) {
        return ReadRegInteger(store(), kHkeyCurrentUser, Key(), name, -77, false);
    }
};

TYPED_TEST_SUITE_P(RegistryBehaviour);

TYPED_TEST_P(RegistryBehaviour, ReadersGiveTheirDefaultForValuesOfTheWrongTypeOrSize) {
    this->Put(u"dword", kRegDword, DwordBytes(5));
    this->Put(u"text5", kRegSz, Utf16Bytes(u"5"));
    this->Put(u"qword", kRegQword, {5, 0, 0, 0, 0, 0, 0, 0});
    this->Put(u"binary8", kRegBinary, {5, 0, 0, 0, 0, 0, 0, 0});
    this->Put(u"binary4", kRegBinary, {5, 0, 0, 0});
    this->Put(u"bigendian", kRegDwordBigEndian, {0, 0, 0, 5});
    this->Put(u"multi", kRegMultiSz, Utf16Bytes(std::u16string(u"a\0b\0", 4)));

    EXPECT_EQ(this->ReadText(u"dword"), u"default");
    EXPECT_EQ(this->ReadText(u"binary4"), u"default");
    EXPECT_EQ(this->ReadText(u"multi"), u"default");
    for (std::u16string_view name : {u"text5", u"qword", u"binary8", u"binary4", u"bigendian"}) {
        SCOPED_TRACE(name.size());
        EXPECT_EQ(this->ReadNumber(name), -77);
        EXPECT_TRUE(ReadRegBool(this->store(), kHkeyCurrentUser, this->Key(), name, true, false));
        EXPECT_FALSE(ReadRegBool(this->store(), kHkeyCurrentUser, this->Key(), name, false, false));
    }
    EXPECT_EQ(this->ReadNumber(u"dword"), 5);
}

TYPED_TEST_P(RegistryBehaviour, ReadRegStringCutsAtTheFirstZeroAndTreatsEmptyAsMissing) {
    this->Put(u"plain", kRegSz, Utf16Bytes(u"Kavrolt"));
    this->Put(u"empty", kRegSz, Utf16Bytes(u""));
    this->Put(u"nothing", kRegSz, {});
    this->Put(u"middle", kRegSz, Utf16Bytes(std::u16string(u"ab\0cd", 5)));
    this->Put(u"leading", kRegSz, Utf16Bytes(std::u16string(u"\0cd", 3)));
    this->Put(u"unterminated", kRegSz, Utf16Bytes(u"xyz", false));
    this->Put(u"expand", kRegExpandSz, Utf16Bytes(u"%SystemRoot%\\x"));

    EXPECT_EQ(this->ReadText(u"plain"), u"Kavrolt");
    EXPECT_EQ(this->ReadText(u"empty"), u"default");
    EXPECT_EQ(this->ReadText(u"nothing"), u"default");
    EXPECT_EQ(this->ReadText(u"middle"), u"ab");
    EXPECT_EQ(this->ReadText(u"leading"), u"default");
    EXPECT_EQ(this->ReadText(u"unterminated"), u"xyz");
    EXPECT_EQ(this->ReadText(u"expand"), u"%SystemRoot%\\x");
    EXPECT_EQ(this->ReadText(u"missing"), u"default");
    EXPECT_EQ(ReadRegString(this->store(), kHkeyCurrentUser, this->Key(u"No\\Such\\"), u"plain",
                            u"default", false),
              u"default");
}

TYPED_TEST_P(RegistryBehaviour, IntegersAndBooleansRoundTrip) {
    WriteRegInteger(this->store(), kHkeyCurrentUser, this->Key(), u"negative", -5, false);
    WriteRegBool(this->store(), kHkeyCurrentUser, this->Key(), u"yes", true, false);
    WriteRegBool(this->store(), kHkeyCurrentUser, this->Key(), u"no", false, false);
    this->Put(u"two", kRegDword, DwordBytes(2));

    EXPECT_EQ(this->ReadNumber(u"negative"), -5);
    EXPECT_EQ(this->Get(u"negative"), (RawValue{kRegDword, DwordBytes(0xFFFFFFFBu)}));
    EXPECT_EQ(this->Get(u"yes"), (RawValue{kRegDword, DwordBytes(1)}));
    EXPECT_EQ(this->Get(u"no"), (RawValue{kRegDword, DwordBytes(0)}));
    auto readBool = [&](std::u16string_view name, bool fallback) {
        return ReadRegBool(this->store(), kHkeyCurrentUser, this->Key(), name, fallback, false);
    };
    EXPECT_TRUE(readBool(u"two", false));
    EXPECT_FALSE(readBool(u"no", true));
    EXPECT_TRUE(readBool(u"yes", false));
    EXPECT_TRUE(readBool(u"missing", true));
    EXPECT_FALSE(readBool(u"missing", false));
    EXPECT_EQ(this->ReadNumber(u"missing"), -77);
}

TYPED_TEST_P(RegistryBehaviour, WritersStoreTheirFormsAndReplaceAnyType) {
    auto& s = this->store();
    const auto key = this->Key();
    WriteRegString(s, kHkeyCurrentUser, key, u"text", u"Yes", false);
    WriteRegString(s, kHkeyCurrentUser, key, u"emptyText", u"", false);
    WriteRegBinary(s, kHkeyCurrentUser, key, u"bytes", {0, 0, 0, 0}, false);
    WriteRegBinary(s, kHkeyCurrentUser, key, u"noBytes", {}, false);
    this->Put(u"wasText", kRegSz, Utf16Bytes(u"old"));
    WriteRegInteger(s, kHkeyCurrentUser, key, u"wasText", 7, false);

    EXPECT_EQ(this->Get(u"text"), (RawValue{kRegSz, Utf16Bytes(u"Yes")}));
    EXPECT_EQ(this->Get(u"emptyText"), (RawValue{kRegSz, {0, 0}}));
    EXPECT_EQ(this->ReadText(u"emptyText"), u"default");
    EXPECT_EQ(this->Get(u"bytes"), (RawValue{kRegBinary, {0, 0, 0, 0}}));
    EXPECT_EQ(this->Get(u"noBytes"), (RawValue{kRegBinary, {}}));
    EXPECT_EQ(this->Get(u"wasText"), (RawValue{kRegDword, DwordBytes(7)}));
}

TYPED_TEST_P(RegistryBehaviour, AWriteBelowAMissingPathCreatesTheWholePath) {
    const auto deep = this->Key(u"One\\Two\\Three\\");
    ASSERT_FALSE(this->env.KeyExists(kHkeyCurrentUser, this->Key(u"One\\")));
    WriteRegInteger(this->store(), kHkeyCurrentUser, deep, u"value", 42, false);
    EXPECT_TRUE(this->env.KeyExists(kHkeyCurrentUser, this->Key(u"One\\Two\\")));
    EXPECT_EQ(this->Get(u"value", u"One\\Two\\Three\\"), (RawValue{kRegDword, DwordBytes(42)}));
}

TYPED_TEST_P(RegistryBehaviour, DeletionRemovesTheValueAndCreatesNothing) {
    this->Put(u"keep", kRegDword, DwordBytes(1));
    this->Put(u"gone", kRegSz, Utf16Bytes(u"x"));
    DeleteRegValue(this->store(), kHkeyCurrentUser, this->Key(), u"gone", false);
    DeleteRegValue(this->store(), kHkeyCurrentUser, this->Key(), u"neverThere", false);
    DeleteRegValue(this->store(), kHkeyCurrentUser, this->Key(u"Missing\\Below\\"), u"keep", false);

    EXPECT_FALSE(this->Get(u"gone").has_value());
    EXPECT_EQ(this->Get(u"keep"), (RawValue{kRegDword, DwordBytes(1)}));
    EXPECT_FALSE(this->env.KeyExists(kHkeyCurrentUser, this->Key(u"Missing\\")));
}

REGISTER_TYPED_TEST_SUITE_P(RegistryBehaviour, ReadersGiveTheirDefaultForValuesOfTheWrongTypeOrSize,
                            ReadRegStringCutsAtTheFirstZeroAndTreatsEmptyAsMissing,
                            IntegersAndBooleansRoundTrip, WritersStoreTheirFormsAndReplaceAnyType,
                            AWriteBelowAMissingPathCreatesTheWholePath,
                            DeletionRemovesTheValueAndCreatesNothing);

} // namespace kavrolt::test
