// The tag code page: the one narrow code page the program uses for the tag
// texts of every file. Old tag writers stored texts in the code page of the
// system they ran on, so the page is chosen from the system's default
// language: traditional or simplified Chinese, Japanese, Korean, and the
// Western page for every other language.
#pragma once

#include <cstdint>

namespace mp3 {

// Primary-language parts of a Windows language identifier (low 10 bits; the
// sublanguage is the upper 6 bits).
constexpr uint16_t kLangChinese = 0x04;
constexpr uint16_t kLangJapanese = 0x11;
constexpr uint16_t kLangKorean = 0x12;

constexpr uint32_t kWesternCodePage = 1252;

// The tag code page for a system whose default language is languageId:
// Chinese 950 (Taiwan, Hong Kong, Macao) or 936 (PRC, Singapore), Japanese
// 932, Korean 949, anything else 1252.
uint32_t TagCodePageFor(uint16_t languageId);

// Chooses the process-wide tag code page for languageId, logs the language
// line for the Chinese, Japanese and Korean pages, and answers the page.
// Called once at start-up, before any file is analysed.
uint32_t SelectTagCodePage(uint16_t languageId);

// SelectTagCodePage with the system's default language.
uint32_t SelectTagCodePageFromSystem();

// The process-wide tag code page: 1252 until one is selected.
uint32_t TagCodePage();

}  // namespace mp3
