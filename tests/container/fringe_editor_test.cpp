// The tag editor as the transfer and other callers use it: the new track's
// tag, multi-value and protected addresses, modes and the calling order.
#include "container/fringe_editor.h"

#include <gtest/gtest.h>

#include "container/kvx_file_ret.h"
#include "container/tag_file.h"
#include "tests/container/tag_test_bytes.h"
#include "tests/support/temp_dir.h"

namespace {

using container::KVXFringeEditor;
using container::KVXTag;
using testsupport::TempDir;
using namespace tagbytes;
using Values = std::vector<std::u16string>;

class FringeEditorTest : public ::testing::Test {
 protected:
  // Keys of the file's frames in file order, with their identifiers.
  std::vector<std::string> FramesInFile() {
    KVXTag tag;
    EXPECT_EQ(container::ReadTagFile(tag, path), container::KvxFileRet::kOk);
    std::vector<std::string> out;
    for (const auto& e : tag.entries())
      out.push_back(e.frame->id() + (e.key == e.frame->id() ? "" : " " + e.key));
    return out;
  }
  TempDir dir;
  sys::Path path = dir / "new-track.kvx";
  KVXFringeEditor editor;
};

TEST_F(FringeEditorTest, TheNewTracksTagByteForByte) {
  ASSERT_EQ(editor.Open(path, container::kFringeOpenWrite), hr::kOk);
  // The transfer's four texts, in its order.
  EXPECT_EQ(editor.Set(container::kFringeTitle, 0, {u"T"}, 2, 0), hr::kOk);
  EXPECT_EQ(editor.Set(container::kFringeAlbum, 0, {u"B"}, 2, 0), hr::kOk);
  EXPECT_EQ(editor.Set(container::kFringeArtist, container::kSubCodeAlbumArtist, {u"A"}, 2, 0), hr::kOk);
  EXPECT_EQ(editor.Set(container::kFringeGenre, container::kSubCodeAlbumGenre, {u"G"}, 2, 0), hr::kOk);
  ASSERT_EQ(editor.Commit(container::kFringeCommitLsi), hr::kOk);

  Bytes expected = {'k', 'v', 'x', 0x03, 0x00, 0x00, 0x00, 0x00, 0x17, 0x76};
  for (const char* frame : {"TIT2T", "TPE1A", "TALBB", "TCONG"})
    expected =
        Cat({expected, Ascii(std::string_view(frame, 4)), {0, 0, 0, 3, 0, 0, 0x02, 0x00, uint8_t(frame[4])}});
  ASSERT_EQ(expected.size(), 10u + 4 * 13u);
  expected.resize(3072, 0x00);  // 3,010 zero bytes
  EXPECT_EQ(testsupport::ReadFile(path), expected);
}

TEST_F(FringeEditorTest, ATitleOf300CharactersIsStoredWith256) {
  ASSERT_EQ(editor.Open(path, container::kFringeOpenWrite), hr::kOk);
  ASSERT_EQ(editor.Set(container::kFringeTitle, 0, {std::u16string(300, u'w')}, 2, 0), hr::kOk);
  ASSERT_EQ(editor.Commit(container::kFringeCommitLsi), hr::kOk);
  const Bytes file = testsupport::ReadFile(path);
  EXPECT_EQ(file.size(), 3072u);
  EXPECT_EQ(WalkFrames(file, 10), (std::vector<std::pair<std::string, uint32_t>>{{"TIT2", 513}}));
}

TEST_F(FringeEditorTest, MultiValueAddresses) {
  ASSERT_EQ(editor.Open(path, container::kFringeOpenWrite), hr::kOk);
  // A single-value address takes one value.
  EXPECT_EQ(editor.Set(container::kFringeTitle, 0, {u"a", u"b"}, 2, 0), hr::kInvalidArg);
  // Sub-code 13 numbers its values in the description...
  EXPECT_EQ(editor.Set(container::kFringeUserText, 13, {u"one", u"two", u"three"}, 2, 0), hr::kOk);
  // ...and setting it again removes every old value first.
  EXPECT_EQ(editor.Set(container::kFringeUserText, 13, {u"1", u"2"}, 2, 0), hr::kOk);
  // On a frame without description both values land under "TIT2": the last wins.
  EXPECT_EQ(editor.Set(container::kFringeTitle, 13, {u"first", u"second"}, 2, 0), hr::kOk);
  // "WOAR" holds several frames of its own.
  EXPECT_EQ(editor.Set(container::kFringeArtistUrl, 0, {u"http://a/", u"http://b/"}, 2, 0), hr::kOk);
  ASSERT_EQ(editor.Commit(container::kFringeCommitLsi), hr::kOk);
  EXPECT_EQ(FramesInFile(),
            (std::vector<std::string>{"TIT2", "WOAR", "WOAR", "TXXX LMR_FTHBL1", "TXXX LMR_FTHBL2"}));
  const Bytes file = testsupport::ReadFile(path);
  const Bytes second = Frame("TIT2", Cat({{0x02}, Be(u"second")}));
  EXPECT_TRUE(std::equal(second.begin(), second.end(), file.begin() + 10));
}

TEST_F(FringeEditorTest, ProtectedAddressesChangeOnlyInMode3) {
  const Bytes original = Tag({Frame("TIT2", {0x02, 0, 'x'})}, 3072 - 23);
  testsupport::WriteFile(path, original);
  ASSERT_EQ(editor.Open(path, container::kFringeOpenWrite), hr::kOk);
  EXPECT_EQ(editor.Set(container::kFringeUserText, container::kSubCodeSongInfo, {u"s"}, 2, 0), hr::kFalse);
  EXPECT_EQ(editor.Set(container::kFringeObject, container::kSubCodeSongTime, {u"s"}, 2, 0), hr::kFalse);
  EXPECT_EQ(editor.Set(container::kFringeLength, 0, {u"1000"}, 2, 0), hr::kFalse);
  ASSERT_EQ(editor.Commit(container::kFringeCommitLsi), hr::kOk);
  EXPECT_EQ(testsupport::ReadFile(path), original);

  ASSERT_EQ(editor.Open(path, container::kFringeOpenWriteProtected), hr::kOk);
  EXPECT_EQ(editor.Set(container::kFringeUserText, container::kSubCodeSongInfo, {u"s"}, 2, 0), hr::kOk);
  EXPECT_EQ(editor.Set(container::kFringeLength, 0, {u"1000"}, 2, 0), hr::kOk);
  ASSERT_EQ(editor.Commit(container::kFringeCommitLsi), hr::kOk);
  EXPECT_EQ(FramesInFile(), (std::vector<std::string>{"TIT2", "TXXX LMR_SINFO", "TLEN"}));
}

TEST_F(FringeEditorTest, AReadOnlyFileOpensOnlyForReading) {
  const Bytes original = Tag({Frame("TIT2", {0x02, 0, 'x'})}, 100);
  testsupport::WriteFile(path, original);
  ASSERT_TRUE(sys::SetReadOnly(path, true));
  EXPECT_EQ(editor.Open(path, container::kFringeOpenWrite), hr::kFail);
  EXPECT_EQ(editor.Open(path, container::kFringeOpenWriteProtected), hr::kFail);
  ASSERT_EQ(editor.Open(path, container::kFringeOpenRead), hr::kOk);
  EXPECT_EQ(editor.Set(container::kFringeTitle, 0, {u"new"}, 2, 0), hr::kFalse);
  EXPECT_EQ(editor.Commit(container::kFringeCommitLsi), hr::kOk);
  EXPECT_EQ(testsupport::ReadFile(path), original);
}

TEST_F(FringeEditorTest, RefusesBadArgumentsAndCallsOutOfOrder) {
  EXPECT_EQ(editor.Set(container::kFringeTitle, 0, {u"x"}, 2, 0), hr::kFail);  // not open
  EXPECT_EQ(editor.Open(sys::Path(), container::kFringeOpenWrite), hr::kInvalidArg);
  EXPECT_EQ(editor.Open(static_cast<const char*>(nullptr), container::kFringeOpenWrite), hr::kInvalidArg);
  EXPECT_EQ(editor.Open("", container::kFringeOpenWrite), hr::kInvalidArg);
  EXPECT_EQ(editor.Open(path, 0), hr::kInvalidArg);
  EXPECT_EQ(editor.Open(path, 4), hr::kInvalidArg);
  ASSERT_EQ(editor.Open(path, container::kFringeOpenWrite), hr::kOk);
  EXPECT_EQ(editor.Open(path, container::kFringeOpenWrite), hr::kUnexpected);
  EXPECT_EQ(editor.Set(0, 0, {u"x"}, 2, 0), hr::kFail);
  EXPECT_EQ(editor.Set(18, 0, {u"x"}, 2, 0), hr::kFail);
  EXPECT_EQ(editor.Set(container::kFringeTitle, 127, {u"x"}, 2, 0), hr::kFail);
  EXPECT_EQ(editor.Set(container::kFringeTitle, 0, {u"x"}, 3, 0), hr::kFail);           // unknown encoding
  EXPECT_EQ(editor.Set(container::kFringeUserText, 0, {u"x"}, 2, 0), hr::kInvalidArg);  // no description
  EXPECT_EQ(editor.Set(container::kFringeTitle, 0, {u"x"}, 2, 0), hr::kOk);
  EXPECT_EQ(editor.Commit(4), hr::kInvalidArg);
  EXPECT_FALSE(sys::FileExists(path));  // nothing written, and the editor is closed
  EXPECT_EQ(editor.Set(container::kFringeTitle, 0, {u"x"}, 2, 0), hr::kFail);
  EXPECT_EQ(editor.Commit(container::kFringeCommitLsi), hr::kOk);      // nothing to do
  ASSERT_EQ(editor.Open(path, container::kFringeOpenWrite), hr::kOk);  // the lock was released
  EXPECT_EQ(editor.Commit(container::kFringeCommitLsi), hr::kOk);
  EXPECT_FALSE(sys::FileExists(path));  // nothing changed: nothing written
}

TEST_F(FringeEditorTest, ThePlainOrderLeavesATagWithTheLibraryObjectAlone) {
  const Bytes original = Tag({Frame("GEOB", Cat({{0x02, 0x00, 0x00, 0x00}, Be(u"LMR_LSI"), {0, 0, 0xAB}})),
                              Frame("TIT2", {0x02, 0, 'x'})},
                             3000);
  testsupport::WriteFile(path, original);
  ASSERT_EQ(editor.Open(path, container::kFringeOpenWrite), hr::kOk);
  ASSERT_EQ(editor.Set(container::kFringeTitle, 0, {u"y"}, 2, 0), hr::kOk);
  EXPECT_EQ(editor.Commit(container::kFringeCommitPlain), hr::Make(0x8004040Eu));
  EXPECT_EQ(testsupport::ReadFile(path), original);
  // The ULINF order writes it after the texts.
  ASSERT_EQ(editor.Open(path, container::kFringeOpenWrite), hr::kOk);
  ASSERT_EQ(editor.Set(container::kFringeTitle, 0, {u"y"}, 2, 0), hr::kOk);
  ASSERT_EQ(editor.Commit(container::kFringeCommitUlinf), hr::kOk);
  EXPECT_EQ(FramesInFile(), (std::vector<std::string>{"TIT2", "GEOB LMR_LSI"}));
}

TEST_F(FringeEditorTest, AFailedOpenLeavesNothingToWriteBack) {
  // A frame kind the library does not know: everything after it would be
  // lost if the partly read tag were written back.
  const Bytes original = Tag({Frame("TIT2", {0x02, 0, 'x'}), Frame("COMM", {0x00, 'e', 'n', 'g', 0, 'c'}),
                              Frame("TALB", {0x02, 0, 'a'})},
                             100);
  testsupport::WriteFile(path, original);
  EXPECT_EQ(editor.Open(path, container::kFringeOpenWrite), hr::kInvalidArg);
  EXPECT_EQ(editor.Set(container::kFringeTitle, 0, {u"y"}, 2, 0), hr::kFail);
  EXPECT_EQ(editor.Commit(container::kFringeCommitLsi), hr::kOk);
  EXPECT_EQ(testsupport::ReadFile(path), original);
}

// Counts opens of files and questions about them: a new file is created
// once and never asked about.
class CountingOps : public container::TagFileOps {
 public:
  std::FILE* open(const sys::Path& file, const char* mode) override {
    ++opens;
    return TagFileOps::open(file, mode);
  }
  bool exists(const sys::Path& file) override {
    ++questions;
    return TagFileOps::exists(file);
  }
  bool readOnly(const sys::Path& file, bool& out) override {
    ++questions;
    return TagFileOps::readOnly(file, out);
  }
  int opens = 0;
  int questions = 0;
};

TEST_F(FringeEditorTest, ANewFileGetsTheSameTagAsOneReadBack) {
  // The empty full-size tag a new track file is created with.
  Bytes empty = Tag({}, 3072 - 10);
  ASSERT_EQ(empty.size(), 3072u);
  auto setTexts = [](KVXFringeEditor& e) {
    EXPECT_EQ(e.Set(container::kFringeTitle, 0, {u"T"}, 2, 0), hr::kOk);
    EXPECT_EQ(e.Set(container::kFringeGenre, container::kSubCodeAlbumGenre, {u"G"}, 2, 0), hr::kOk);
    EXPECT_EQ(e.Commit(container::kFringeCommitLsi), hr::kOk);
  };
  testsupport::WriteFile(path, empty);
  ASSERT_EQ(editor.Open(path, container::kFringeOpenWrite), hr::kOk);
  setTexts(editor);
  const Bytes readBack = testsupport::ReadFile(path);

  const sys::Path created = dir / "created.kvx";
  CountingOps ops;
  KVXFringeEditor fromImage(ops);
  ASSERT_EQ(fromImage.OpenNew(created, container::kFringeOpenWrite, empty.data(), empty.size()), hr::kOk);
  EXPECT_FALSE(sys::FileExists(created));  // nothing is written before Commit
  setTexts(fromImage);
  EXPECT_EQ(ops.opens, 1);
  EXPECT_EQ(ops.questions, 0);
  EXPECT_EQ(testsupport::ReadFile(created), readBack);
  EXPECT_EQ(readBack.size(), 3072u);
  EXPECT_EQ(fromImage.OpenNew(created, container::kFringeOpenWrite, nullptr, 0), hr::kInvalidArg);

  // Whatever appeared at the path meanwhile is replaced, not kept behind the tag.
  testsupport::WriteFile(created, Bytes(5000, 0x55));
  KVXFringeEditor again(ops);
  ASSERT_EQ(again.OpenNew(created, container::kFringeOpenWrite, empty.data(), empty.size()), hr::kOk);
  setTexts(again);
  EXPECT_EQ(testsupport::ReadFile(created), readBack);
}

TEST(KvxFileRetMapping, EveryCodeHasItsHresult) {
  using container::KvxFileRet;
  const std::pair<int, HRESULT> table[] = {{1, hr::kOk},
                                           {2, hr::kFail},
                                           {3, hr::kFail},
                                           {5, hr::kFail},
                                           {6, hr::kFail},
                                           {7, hr::kFalse},
                                           {8, hr::kOutOfMemory},
                                           {9, hr::kFail},
                                           {12, hr::kPointer},
                                           {13, hr::kFail},
                                           {14, hr::kInvalidArg},
                                           {15, hr::kInvalidArg},
                                           {16, hr::kInvalidArg},
                                           {17, hr::kFalse},
                                           {18, hr::kFalse},
                                           {19, hr::kFail},
                                           {20, hr::kFail},
                                           {21, hr::Make(0x8004040Eu)},
                                           {26, hr::Make(0x8004040Eu)},
                                           {27, hr::Make(0x8004040Eu)},
                                           {28, hr::kNotImpl},
                                           {4, hr::kFail},
                                           {29, hr::kFail}};
  for (const auto& [code, expected] : table)
    EXPECT_EQ(container::KvxFileRetToHresult(static_cast<KvxFileRet>(code)), expected) << code;
}

}  // namespace
