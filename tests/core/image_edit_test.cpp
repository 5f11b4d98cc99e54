// FIELD=VALUE edits of the register image.
#include "core/device/image_edit.h"

#include <gtest/gtest.h>

#include "core/device/image_fields.h"

namespace velorin::core {
namespace {

// Every bit set except the field's own: an edit that spills shows in a neighbour.
RegisterImage Busy() {
    return RegisterImage{{0xA5, 0x5A, 0xC3, 0x3C, 0x96, 0x69}};
}

TEST(ImageEditTest, EveryCodeKeyTakesItsWholeRangeAndTouchesNoOtherField) {
    for (const ImageField &field : ImageFields()) {
        if (field.field == Field::Byte5Spare) continue;
        SCOPED_TRACE(field.key);
        const int max = ImageFieldMaxCode(field);
        for (int code : {0, max}) {
            RegisterImage image = Busy();
            const FieldEdit edit =
                ApplyFieldEdit(image, std::string(field.key) + "=" + std::to_string(code));
            ASSERT_EQ(edit.status, FieldEdit::Status::Ok) << edit.message;
            EXPECT_EQ(ReadImageField(image, field), code);
            for (const ImageField &other : ImageFields()) {
                if (&other == &field) continue;
                EXPECT_EQ(ReadImageField(image, other), ReadImageField(Busy(), other)) << other.key;
            }
        }
    }
}

TEST(ImageEditTest, FriendlyNamesMapToTheirCodes) {
    const struct {
        const char *edit;
        const char *key;
        int code;
    } cases[] = {
        {"prescaler=5", "prescalerCode", 0},
        {"prescaler=2", "prescalerCode", 3},
        {"outputDivider=4", "outputDividerCode", 2},
        {"outputDivider=32", "outputDividerCode", 5},
        {"vco=1", "vcoSelect", 0},
        {"vco=2", "vcoSelect", 1},
        {"output=LVPECL", "outputType", 1},
        {"output=lvds", "outputType", 0},
        {"chargePump=224uA", "chargePumpCode", 15},
        {"chargePump=224\xC2\xB5"
         "A",
         "chargePumpCode", 15},
        {"chargePump=0.112mA", "chargePumpCode", 3},
        {"chargePump=56e-6", "chargePumpCode", 1},
        {"chargePump=0", "chargePumpCode", 0},
        {"testSelect=0xF", "testSelect", 15},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.edit);
        RegisterImage image = Busy();
        ASSERT_EQ(ApplyFieldEdit(image, c.edit).status, FieldEdit::Status::Ok);
        EXPECT_EQ(ReadImageField(image, *FindImageField(c.key)), c.code);
    }
}

TEST(ImageEditTest, LoopFilterWordReplacesTheFourCodesOnly) {
    RegisterImage image = Busy();
    ASSERT_EQ(ApplyFieldEdit(image, "loopFilterWord=02279E").status, FieldEdit::Status::Ok);
    EXPECT_EQ(LoopFilterWord(image), 0x2279Eu);
    EXPECT_EQ(image.ControlWord() & ~kLoopFilterWordMask,
              Busy().ControlWord() & ~kLoopFilterWordMask);
    ASSERT_EQ(ApplyFieldEdit(image, "loopFilterWord=0x7ffff").status, FieldEdit::Status::Ok);
    EXPECT_EQ(LoopFilterWord(image), 0x7FFFFu);
}

TEST(ImageEditTest, RefusalsSayWhyAndChangeNothing) {
    const struct {
        const char *edit;
        FieldEdit::Status status;
        const char *says;
    } cases[] = {
        {"prescaler", FieldEdit::Status::NotAnAssignment, "FIELD=VALUE"},
        {"=3", FieldEdit::Status::NotAnAssignment, "FIELD=VALUE"},
        {"bogus=1", FieldEdit::Status::UnknownField, "prescalerCode, outputDividerCode"},
        {"spareBits=1", FieldEdit::Status::UnknownField, "chargePump"},
        {"PrescalerCode=1", FieldEdit::Status::UnknownField, "vcoSelect"},
        {"prescalerCode=4", FieldEdit::Status::BadValue, "prescalerCode takes 0 to 3"},
        {"vcoCalWord=64", FieldEdit::Status::BadValue, "takes 0 to 63"},
        {"calDelayCount=4", FieldEdit::Status::BadValue, "takes 0 to 3"},
        {"c2Code=-1", FieldEdit::Status::BadValue, "takes 0 to 31"},
        {"c2Code=", FieldEdit::Status::BadValue, "takes 0 to 31"},
        {"c2Code=1.5", FieldEdit::Status::BadValue, "takes 0 to 31"},
        {"prescaler=6", FieldEdit::Status::BadValue, "2, 3, 4 or 5"},
        {"output=cml", FieldEdit::Status::BadValue, "lvds or lvpecl"},
        {"chargePump=100uA", FieldEdit::Status::BadValue, "0, 56, 112, 168 or 224 uA"},
        {"chargePump=224MHz", FieldEdit::Status::BadValue, "224 uA"},
        {"loopFilterWord=080000", FieldEdit::Status::BadValue, "000000 to 07FFFF"},
        {"loopFilterWord=xyz", FieldEdit::Status::BadValue, "hexadecimal"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.edit);
        RegisterImage image = Busy();
        const FieldEdit edit = ApplyFieldEdit(image, c.edit);
        EXPECT_EQ(edit.status, c.status);
        EXPECT_NE(edit.message.find(c.says), std::string::npos) << edit.message;
        EXPECT_EQ(image, Busy());
    }
}

}  // namespace
}  // namespace velorin::core
