#include "app/listing_texts.h"

#include "platform/codepage.h"

namespace app {

namespace {

std::string Narrow(const std::u16string& text, uint32_t codePage) {
  std::string out;
  // '?' marks a character the code page cannot hold; a code page the
  // system lacks falls back to the ANSI one rather than losing the text.
  if (!sys::FromUtf16(codePage, text, out, sys::kNoLimit, '?'))
    sys::FromUtf16(sys::kAnsiCodePage, text, out, sys::kNoLimit, '?');
  return treelist::LoadedText(out);
}

}  // namespace

treelist::LoadedTrack ToLoadedTrack(const device::TrackRecord& track, uint32_t tagCodePage) {
  treelist::LoadedTrack out;
  out.eid = track.eid;
  out.title = Narrow(track.title, tagCodePage);
  out.artist = Narrow(track.artist, tagCodePage);
  out.album = Narrow(track.album, tagCodePage);
  out.genre = Narrow(track.genre, kGenreCodePage);
  out.durationMs = track.playTimeMs;
  return out;
}

treelist::LoadedAlbum ToLoadedAlbum(const device::AlbumRecord& album) {
  treelist::LoadedAlbum out;
  out.eid = album.eid;
  out.name = Narrow(album.name, sys::kAnsiCodePage);
  out.durationMs = album.playTimeMs;
  return out;
}

}  // namespace app
