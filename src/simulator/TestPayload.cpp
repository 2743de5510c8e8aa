// SPDX-License-Identifier: MIT
#include "simulator/TestPayload.h"

#include <ctime>
#include <limits>
#include <string_view>

#include "text/DecimalText.h"

namespace qm {
namespace {

// What follows the id. The CPCL commands hold \r\n as JSON escapes (a
// backslash and a letter), never raw line ends.
constexpr std::u16string_view kReceipt =
    uR"(,"type":5,"vType":-1,"pType":1,"pWidth":58,"pCopy":1,"contents":[)"
    uR"({"cont":"JSON Receipt","type":"title"},{"cont":"TEST","align":"left"},)"
    uR"({"both_sides":["Amount","1.00"]},)"
    uR"({"cont":"TEST1234","type":"qrcode","align":"center","size":"60"},)"
    uR"({"cont":"1","type":"cut"}]})";
constexpr std::u16string_view kTsplLabel =
    uR"(,"type":5,"vType":-1,"pType":2,"pCopy":1,"contents":{"SIZE":[40,30],)"
    uR"("DIRECTION":0,"DENSITY":7,"SOUND":1,"label":[)"
    uR"({"type":"TEXT","x":10,"y":20,"font":"2","w":1,"h":1,"r":0,"cont":"TSPL"},)"
    uR"({"type":"QRCODE","x":10,"y":60,"e":"M","w":4,"cont":"12345678"},)"
    uR"({"type":"BC128","x":10,"y":150,"h":24,"show":1,"r":0,"narrow":1,"wide":1,)"
    uR"("cont":"1234567889"},{"type":"BAR","x":10,"y":190,"w":200,"h":2}]}})";
constexpr std::u16string_view kCpclLabel =
    uR"(,"type":2,"pType":2,"pCopy":1,"vType":-1,)"
    uR"("contents":"! 0 200 200 240 1\r\nTEXT 4 0 20 20 CPCL\r\n)"
    uR"(BARCODE 128 1 1 40 20 60 1234567889\r\nPRINT\r\n"})";

std::u16string_view TemplateOf(int kind) {
  switch (kind) {
    case 1:
      return kTsplLabel;
    case 2:
      return kCpclLabel;
    default:
      return kReceipt;
  }
}

}  // namespace

std::int64_t SystemUnixSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

std::uint32_t NextTestJobId(std::uint32_t lastJobId, const UnixClock& clock) {
  const std::uint32_t last =
      lastJobId != 0 ? lastJobId : static_cast<std::uint32_t>(static_cast<std::uint64_t>(clock()));
  return last == std::numeric_limits<std::uint32_t>::max() ? 1 : last + 1;
}

std::u16string BuildTestPayload(int kind, std::uint32_t& lastJobId, const UnixClock& clock) {
  lastJobId = NextTestJobId(lastJobId, clock);
  return u"{\"id\":" + DecimalText(lastJobId) + std::u16string(TemplateOf(kind));
}

}  // namespace qm
