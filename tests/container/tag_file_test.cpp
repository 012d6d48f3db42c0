// Reading a tag from a file and writing it back: the layout rule, in-place
// and copied rewrites, and the file's content behind the tag.
#include "container/tag_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "container/tag_layout.h"
#include "tests/container/faulty_tag_file_ops.h"
#include "tests/container/tag_test_bytes.h"
#include "tests/support/temp_dir.h"

namespace {

using container::KvxFileRet;
using container::KVXTag;
using container::NewTagLength;
using container::TagFrame;
using container::WriteOrder;
using testsupport::FaultyTagFileOps;
using testsupport::TempDir;
using namespace tagbytes;

using Fault = FaultyTagFileOps::Fault;

void Put(KVXTag& tag, std::string_view id, const std::u16string& description, const std::u16string& value) {
  TagFrame frame;
  ASSERT_EQ(container::BuildFrame(id, description, 2, value, 0, frame), KvxFileRet::kOk);
  ASSERT_EQ(tag.insertFrame(frame), KvxFileRet::kOk);
}

KvxFileRet Edit(const sys::Path& path, const std::function<void(KVXTag&)>& edit,
                container::TagFileOps& ops = container::DefaultTagFileOps()) {
  KVXTag tag;
  KvxFileRet r = container::ReadTagFile(tag, path);
  if (!IsOk(r)) return r;
  edit(tag);
  return container::WriteTagFile(tag, path, WriteOrder::kLsi, ops);
}

uint64_t NewLength(uint64_t frames, uint64_t old) {
  uint64_t n = 0;
  EXPECT_EQ(NewTagLength(frames, old, n), KvxFileRet::kOk) << frames << " " << old;
  return n;
}

TEST(TagLayout, KeepsTheLengthWithinOneUnitOfSlackElseRoundsUp) {
  EXPECT_EQ(NewLength(52, 0), 3072u);
  EXPECT_EQ(NewLength(6134, 0), 9216u);     // content exactly 6,144: a whole unit of padding
  EXPECT_EQ(NewLength(6134, 6144), 6144u);  // ... unless the old tag fits it exactly
  EXPECT_EQ(NewLength(3062, 6144), 6144u);  // slack exactly 3,072: kept
  EXPECT_EQ(NewLength(3061, 6144), 3072u);  // slack 3,073: laid out anew
  EXPECT_EQ(NewLength(4000, 3072), 6144u);  // does not fit: grows
  EXPECT_EQ(NewLength(0, 3072), 0u);        // no frames: no tag
  uint64_t n = 0;
  EXPECT_EQ(NewTagLength(container::kMaxSynchsafe - 9, 0, n), KvxFileRet::kTagTooLarge);
  // Fits the size field, but its padding would not.
  EXPECT_EQ(NewTagLength(container::kMaxSynchsafe - 20, 0, n), KvxFileRet::kTagTooLarge);
}

class TagFileTest : public ::testing::Test {
 protected:
  sys::Path MakeFile(const Bytes& bytes) {
    testsupport::WriteFile(target, bytes);
    return target;
  }
  TempDir dir;
  TempDir tempFolder;
  sys::Path target = dir / "track.kvx";
  const Bytes audio = Audio(10000);
};

TEST_F(TagFileTest, AFileWithoutTagGetsA3072ByteTagInFront) {
  MakeFile(audio);
  ASSERT_EQ(Edit(target, [](KVXTag& t) { Put(t, "TIT2", u"", u"Title"); }), KvxFileRet::kOk);
  const Bytes expectedTag = Tag({Frame("TIT2", Cat({{0x02}, Be(u"Title")}))}, 3072 - 10 - 21);
  EXPECT_EQ(testsupport::ReadFile(target), Cat({expectedTag, audio}));
}

TEST_F(TagFileTest, ContentOfExactly6144BytesGetsA9216ByteTag) {
  MakeFile(audio);
  ASSERT_EQ(Edit(target, [](KVXTag& t) { Put(t, "WOAR", u"", std::u16string(6124, u'u')); }),
            KvxFileRet::kOk);
  const Bytes file = testsupport::ReadFile(target);
  ASSERT_EQ(file.size(), 9216u + audio.size());
  EXPECT_EQ(Bytes(file.begin() + 6, file.begin() + 10), Synchsafe(9206));
  EXPECT_EQ(Bytes(file.begin() + 9216, file.end()), audio);
}

TEST_F(TagFileTest, ShrinkingByLessThanAUnitRewritesOnlyTheTagBytes) {
  MakeFile(
      Cat({Tag({Frame("TCOM", Cat({{0x02}, Be(std::u16string(2500, u'c'))}))}, 6144 - 10 - 5011), audio}));
  FaultyTagFileOps ops(tempFolder.path(), Fault::kNone);
  ASSERT_EQ(Edit(
                target,
                [](KVXTag& t) {
                  ASSERT_EQ(t.removeFrames("TCOM", u""), KvxFileRet::kOk);
                  Put(t, "TCOM", u"", std::u16string(1600, u'd'));
                },
                ops),
            KvxFileRet::kOk);
  EXPECT_EQ(ops.copies, 0);
  EXPECT_EQ(ops.tempFilesCreated, 0);
  const Bytes expected =
      Cat({Tag({Frame("TCOM", Cat({{0x02}, Be(std::u16string(1600, u'd'))}))}, 6144 - 10 - 3211), audio});
  EXPECT_EQ(testsupport::ReadFile(target), expected);
}

TEST_F(TagFileTest, ShrinkingByMoreThanAUnitLaysTheTagOutAnew) {
  MakeFile(
      Cat({Tag({Frame("TCOM", Cat({{0x02}, Be(std::u16string(2500, u'c'))}))}, 6144 - 10 - 5011), audio}));
  FaultyTagFileOps ops(tempFolder.path(), Fault::kNone);
  ASSERT_EQ(Edit(
                target, [](KVXTag& t) { Put(t, "TCOM", u"", u"d"); }, ops),
            KvxFileRet::kOk);
  EXPECT_EQ(ops.copies, 1);
  EXPECT_EQ(testsupport::ReadFile(target),
            Cat({Tag({Frame("TCOM", {0x02, 0, 'd'})}, 3072 - 10 - 13), audio}));
  EXPECT_TRUE(std::filesystem::is_empty(tempFolder.path()));
}

TEST_F(TagFileTest, AnId3TagKeepsItsMagicAndFlagsByte) {
  MakeFile(Cat({Tag({Frame("TALB", {0x00, 'a'})}, 100, "ID3", 0x20), audio}));
  ASSERT_EQ(Edit(target, [](KVXTag& t) { Put(t, "TIT2", u"", u"t"); }), KvxFileRet::kOk);
  const Bytes file = testsupport::ReadFile(target);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 6), Cat({Ascii("ID3"), {0x03, 0x00, 0x20}}));
  EXPECT_EQ(file.size(), 10 + 12 + 100 + audio.size());  // fits in place
  EXPECT_EQ(WalkFrames(file, 10), (std::vector<std::pair<std::string, uint32_t>>{{"TIT2", 3}, {"TALB", 3}}));
}

TEST_F(TagFileTest, RemovingTheLastFrameRemovesTheTag) {
  MakeFile(Cat({Tag({Frame("TIT2", {0x00, 'a'})}, 3000), audio}));
  ASSERT_EQ(Edit(target, [](KVXTag& t) { ASSERT_EQ(t.removeFrames("TIT2", u""), KvxFileRet::kOk); }),
            KvxFileRet::kOk);
  EXPECT_EQ(testsupport::ReadFile(target), audio);
}

TEST_F(TagFileTest, AMissingFileHasNoTagAndGetsOneAlone) {
  KVXTag tag;
  ASSERT_EQ(container::ReadTagFile(tag, target), KvxFileRet::kOk);
  EXPECT_FALSE(tag.hasHeader());
  Put(tag, "TIT2", u"", u"t");
  ASSERT_EQ(container::WriteTagFile(tag, target, WriteOrder::kLsi), KvxFileRet::kOk);
  EXPECT_EQ(testsupport::ReadFile(target), Tag({Frame("TIT2", {0x02, 0, 't'})}, 3072 - 23));
  // No frames for a file that does not exist: nothing to create.
  sys::Path other = dir / "other.kvx";
  KVXTag empty;
  EXPECT_EQ(container::WriteTagFile(empty, other, WriteOrder::kLsi), KvxFileRet::kOk);
  EXPECT_FALSE(sys::FileExists(other));
}

TEST_F(TagFileTest, ReadRefusesUnreadableFilesAndTagsLongerThanTheFile) {
  KVXTag tag;
  EXPECT_EQ(container::ReadTagFile(tag, sys::Path()), KvxFileRet::kNoFileName);
  MakeFile(Tag({Frame("TIT2", {0x00, 'a'})}, 100));
  FaultyTagFileOps locked(tempFolder.path(), Fault::kTargetNotOpenable);
  EXPECT_EQ(container::ReadTagFile(tag, target, locked), KvxFileRet::kCannotAccess);
  Bytes cut = Tag({Frame("TIT2", {0x00, 'a'})}, 100);
  cut.resize(60);
  MakeFile(cut);
  EXPECT_EQ(container::ReadTagFile(tag, target), KvxFileRet::kInconsistent);
}

TEST_F(TagFileTest, FallsBackToTheTargetsFolderWithoutAUsableTempFolder) {
  for (Fault fault : {Fault::kNoTempFolder, Fault::kTempFolderMissing}) {
    MakeFile(audio);
    FaultyTagFileOps ops(tempFolder.path(), fault);
    ASSERT_EQ(Edit(
                  target, [](KVXTag& t) { Put(t, "TIT2", u"", u"t"); }, ops),
              KvxFileRet::kOk);
    EXPECT_EQ(ops.tempFilesCreated, 1);
    EXPECT_EQ(testsupport::ReadFile(target).size(), 3072 + audio.size());
    // Only the target is left in its folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  }
}

// Every step of a rewrite made to fail in turn: the target stays byte for
// byte what it was and no temporary file is left.
struct SafetyCase {
  const char* name;
  Fault fault;
  bool readOnlyTarget;
  bool inPlace;  // the new tag has the old one's length
  KvxFileRet code;
};

class TagRewriteSafety : public ::testing::TestWithParam<SafetyCase> {};

TEST_P(TagRewriteSafety, LeavesTheTargetAsItWas) {
  const SafetyCase& c = GetParam();
  TempDir dir, temp;
  const sys::Path target = dir / "track.kvx";
  const Bytes original = Cat({Tag({Frame("TIT2", {0x00, 'o', 'l', 'd'})}, 3072 - 24), Audio(20000)});
  testsupport::WriteFile(target, original);
  if (c.readOnlyTarget) {
    ASSERT_TRUE(sys::SetReadOnly(target, true));
  }
  FaultyTagFileOps ops(temp.path(), c.fault);

  KVXTag tag;
  ASSERT_EQ(container::ReadTagFile(tag, target), KvxFileRet::kOk);
  Put(tag, "TIT2", u"", c.inPlace ? u"new" : std::u16string(200, u'n'));
  if (!c.inPlace) Put(tag, "TCOM", u"", std::u16string(2000, u'c'));
  EXPECT_EQ(container::WriteTagFile(tag, target, WriteOrder::kLsi, ops), c.code);

  EXPECT_EQ(testsupport::ReadFile(target), original);
  EXPECT_TRUE(std::filesystem::is_empty(temp.path()));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, TagRewriteSafety,
    ::testing::Values(
        SafetyCase{"ReadOnlyTarget", Fault::kNone, true, false, KvxFileRet::kReadOnly},
        SafetyCase{"AttributesUnreadable", Fault::kAttributesUnreadable, false, false, KvxFileRet::kFailed},
        SafetyCase{"NoTempName", Fault::kNoTempName, false, false, KvxFileRet::kFailed},
        SafetyCase{"TempPathTooLong", Fault::kTempPathTooLong, false, false, KvxFileRet::kFailed},
        SafetyCase{"TempDriveFull", Fault::kTempFreeSpace, false, false, KvxFileRet::kFailed},
        SafetyCase{"TargetDriveFull", Fault::kTargetFreeSpace, false, false, KvxFileRet::kFailed},
        SafetyCase{"FreeSpaceUnknown", Fault::kFreeSpaceUnknown, false, false, KvxFileRet::kFailed},
        SafetyCase{"TempFolderMissingAndNoFileCreatable", Fault::kTempNotCreatable, false, false,
                   KvxFileRet::kCannotAccess},
        SafetyCase{"ShortWrite", Fault::kShortWrite, false, false, KvxFileRet::kWriteIncomplete},
        SafetyCase{"TempFlushFails", Fault::kTempFlushFails, false, false, KvxFileRet::kWriteIncomplete},
        SafetyCase{"TargetReadFails", Fault::kTargetReadFails, false, false, KvxFileRet::kCannotAccess},
        SafetyCase{"TargetNotOpenable", Fault::kTargetNotOpenable, false, false, KvxFileRet::kCannotAccess},
        SafetyCase{"CopyRefused", Fault::kCopyRefused, false, false, KvxFileRet::kFailed},
        SafetyCase{"InPlaceReadOnly", Fault::kNone, true, true, KvxFileRet::kReadOnly},
        SafetyCase{"InPlaceNotOpenable", Fault::kTargetNotOpenable, false, true, KvxFileRet::kCannotAccess},
        SafetyCase{"InPlaceShortWrite", Fault::kInPlaceShortWrite, false, true,
                   KvxFileRet::kWriteIncomplete}),
    [](const ::testing::TestParamInfo<SafetyCase>& info) { return std::string(info.param.name); });

}  // namespace
