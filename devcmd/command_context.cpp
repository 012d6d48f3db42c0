#include "devcmd/command_context.h"

#include "devcmd/inquiry.h"
#include "devcmd/vendor_command.h"

namespace devcmd {

CommandContext::CommandContext(CommandHost& host) : m_host(host) {
  m_kind = ChooseTransport(host.osKind(), host.adminLevel());
  if (m_kind != TransportKind::kNone) m_pTransport = host.createTransport(m_kind);
}

HRESULT CommandContext::SelectDrive(int index) {
  if (!m_pTransport) return hr::kNotImpl;
  return m_pTransport->SelectDrive(index);
}

HRESULT CommandContext::SendVendorCommand(uint8_t subCommand, uint8_t* buffer, uint16_t length) {
  if (!m_pTransport) return hr::kNotImpl;
  const std::optional<DataDirection> direction = VendorSubCommandDirection(subCommand);
  if (!direction) return hr::kInvalidArg;
  const VendorCdb cdb = MakeVendorCdb(subCommand, length);
  switch (*direction) {
    case DataDirection::kIn:
      return m_pTransport->SendIn(cdb.data(), kVendorCdbLength, buffer, length);
    case DataDirection::kOut:
      return m_pTransport->SendOut(cdb.data(), kVendorCdbLength, buffer, length);
    case DataDirection::kNone:
      break;
  }
  return m_pTransport->SendNoData(cdb.data(), kVendorCdbLength);
}

HRESULT CommandContext::Inquiry(uint8_t* buffer, uint32_t length) {
  if (!m_pTransport) return hr::kNotImpl;
  if (buffer == nullptr) return hr::kPointer;
  if (length == 0 || length > 255) return hr::kInvalidArg;
  const std::optional<std::string> setting = m_host.inquiryType();
  const InquiryRoute route =
      ChooseInquiryRoute(setting ? std::optional<std::string_view>(*setting) : std::nullopt);
  if (route == InquiryRoute::kTransportInquiry) return m_pTransport->Inquiry(buffer, length);
  const InquiryCdb cdb = MakeInquiryCdb(static_cast<uint8_t>(length));
  return m_pTransport->SendIn(cdb.data(), kInquiryCdbLength, buffer, length);
}

}  // namespace devcmd
