#include "container/fringe_ids.h"

#include <array>

namespace container {

namespace {

constexpr std::array<std::string_view, kFringeTypeCount> kFrameIds = {
    "TIT2", "TIT3", "TLEN", "TPUB", "WPUB", "TSRC", "TPE1", "WOAR", "TEXT",
    "TCOM", "TALB", "WCOM", "TXXX", "WXXX", "GEOB", "TCON", "WPAY",
};

// Sub-codes 1 to 126, in order.
constexpr std::array<std::u16string_view, kFringeSubCodeCount> kExtendedIds = {
    u"LMR_TIT2S",   u"LMR_TIT3S",   u"LMR_TPGMR",   u"LMR_TRCDC",   u"LMR_WRCDC",    u"LMR_TPE1S",
    u"LMR_TEXTS",   u"LMR_TCOMS",   u"LMR_TARGM",   u"LMR_TARGS",   u"LMR_TPRDC",    u"LMR_TPRDS",
    u"LMR_FTHBL",   u"LMR_FPRTH",   u"LMR_FCPTH",   u"LMR_E_FENCA", u"LMR_E_FPRCA",  u"LMR_E_FCRCA",
    u"LMR_E_FENLR", u"LMR_E_FPRLR", u"LMR_E_FCRLR", u"LMR_FENCA",   u"LMR_FPRCA",    u"LMR_FCRCA",
    u"LMR_FENLR",   u"LMR_FPRLR",   u"LMR_FCRLR",   u"LMR_SRCID",   u"LMR_TPKGD",    u"LMR_TPGMD",
    u"LMR_TTRGD",   u"LMR_TTRMD",   u"LMR_TTRTS",   u"LMR_TTRSS",   u"LMR_TTRSR",    u"LMR_TTRNP",
    u"LMR_TTRNC",   u"LMR_TTRVL",   u"LMR_TMJBR",   u"LMR_TMNVR",   u"LMR_TCBR1",    u"LMR_TCBR2",
    u"LMR_TCPRT",   u"LMR_SINFO",   u"LMR_APRID",   u"LMR_ALBMS",   u"LMR_ALMST",    u"LMR_ALSTS",
    u"LMR_ASGTM",   u"LMR_APGMR",   u"LMR_ALAPU",   u"LMR_AWLPU",   u"LMR_ARCDC",    u"LMR_AWRDC",
    u"LMR_AISRC",   u"LMR_ATPE1",   u"LMR_ATP1S",   u"LMR_AWMAR",   u"LMR_ALYRC",    u"LMR_ALYRS",
    u"LMR_ASGWR",   u"LMR_ASGWS",   u"LMR_AARGM",   u"LMR_AARGS",   u"LMR_APRDC",    u"LMR_APRDS",
    u"LMR_FATHL",   u"LMR_FAPRT",   u"LMR_FACPT",   u"LMR_E_FAECA", u"LMR_E_FAPCA",  u"LMR_E_FACCA",
    u"LMR_FAECA",   u"LMR_FAPCA",   u"LMR_FACCA",   u"LMR_TPRID",   u"LMR_TRACK",    u"LMR_TENTM",
    u"LMR_CIDCH",   u"LMR_CIDCL",   u"LMR_CIDPH",   u"LMR_CIDPL",   u"LMR_ACTLG",    u"LMR_AUPSN",
    u"LMR_AGENR",   u"LMR_TCTLG",   u"LMR_TUPSN",   u"LMR_TSING",   u"LMR_TSNGS",    u"LMR_WTSNG",
    u"LMR_TMIXR",   u"LMR_TMIXS",   u"LMR_WTMIX",   u"LMR_TSTAR",   u"LMR_TSTRS",    u"LMR_WTSTR",
    u"LMR_TDIRC",   u"LMR_TDIRS",   u"LMR_WTDIR",   u"LMR_TPFMR",   u"LMR_TPFMS",    u"LMR_WTPFM",
    u"LMR_DXCON",   u"LMR_TCONS",   u"LMR_WTCON",   u"LMR_TOCST",   u"LMR_TOCSS",    u"LMR_WTOCS",
    u"LMR_TNOTE",   u"LMR_TCRDT",   u"LMR_WINFO",   u"LMR_TTIT1",   u"LMR_TRLDA",    u"LMR_WCPYR",
    u"LMR_WTEXT",   u"LMR_WCOMS",   u"LMR_WARGM",   u"LMR_WPRDC",   u"LMR_MSAIF",    u"LMR_MSANM",
    u"LMR_PAFMT",   u"LMR_ULINF",   u"LMR_OLINF",   u"LMR_LSI",     u"LMR_SHAREINF", u"LMR_TDFCA",
};

}  // namespace

std::string_view FringeFrameId(uint32_t type) {
  if (type < 1 || type > kFringeTypeCount) return {};
  return kFrameIds[type - 1];
}

bool FringeExtendedId(uint32_t subCode, std::u16string& out) {
  if (subCode > kFringeSubCodeCount) return false;
  out = subCode == kSubCodeNone ? std::u16string() : std::u16string(kExtendedIds[subCode - 1]);
  return true;
}

bool IsMultiValueSubCode(uint32_t subCode) {
  return (subCode >= 13 && subCode <= 27) || subCode == 58 || (subCode >= 67 && subCode <= 75) ||
         (subCode >= 109 && subCode <= 111);
}

bool IsProtectedAddress(uint32_t type, uint32_t subCode) {
  return (type == kFringeLength && subCode == kSubCodeNone) || subCode == kSubCodeSongInfo ||
         subCode == kSubCodeSongTime;
}

bool ResolveFringeAddress(uint32_t type, uint32_t subCode, FringeAddress& out) {
  const std::string_view id = FringeFrameId(type);
  if (id.empty()) return false;
  FringeAddress address;
  if (!FringeExtendedId(subCode, address.extendedId)) return false;
  address.frameId = std::string(id);
  address.multiValue = IsMultiValueSubCode(subCode);
  address.repeatable = type == kFringeArtistUrl || type == kFringeCommercialUrl;
  address.isProtected = IsProtectedAddress(type, subCode);
  out = std::move(address);
  return true;
}

std::u16string FringeValueDescription(const FringeAddress& address, size_t index) {
  if (!address.multiValue) return address.extendedId;
  std::u16string description = address.extendedId;
  for (char c : std::to_string(index)) description += static_cast<char16_t>(c);
  return description;
}

}  // namespace container
