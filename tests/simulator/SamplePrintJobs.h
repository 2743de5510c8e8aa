// SPDX-License-Identifier: MIT
// The simulator's three test jobs as a printer receives them, for the tests
// and the benchmark of the print-task scanner.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm::test {

// What follows the id in the receipt, TSPL label and CPCL label jobs.
inline constexpr std::string_view kReceiptTail =
    R"json(,"type":5,"vType":-1,"pType":1,"pWidth":58,"pCopy":1,"contents":[{"cont":"JSON Receipt","type":"title"},{"cont":"TEST","align":"left"},{"both_sides":["Amount","1.00"]},{"cont":"TEST1234","type":"qrcode","align":"center","size":"60"},{"cont":"1","type":"cut"}]})json";
inline constexpr std::string_view kTsplLabelTail =
    R"json(,"type":5,"vType":-1,"pType":2,"pCopy":1,"contents":{"SIZE":[40,30],"DIRECTION":0,"DENSITY":7,"SOUND":1,"label":[{"type":"TEXT","x":10,"y":20,"font":"2","w":1,"h":1,"r":0,"cont":"TSPL"},{"type":"QRCODE","x":10,"y":60,"e":"M","w":4,"cont":"12345678"},{"type":"BC128","x":10,"y":150,"h":24,"show":1,"r":0,"narrow":1,"wide":1,"cont":"1234567889"},{"type":"BAR","x":10,"y":190,"w":200,"h":2}]}})json";
inline constexpr std::string_view kCpclLabelTail =
    R"json(,"type":2,"pType":2,"pCopy":1,"vType":-1,"contents":"! 0 200 200 240 1\r\nTEXT 4 0 20 20 CPCL\r\nBARCODE 128 1 1 40 20 60 1234567889\r\nPRINT\r\n"})json";

inline std::string SampleJob(std::uint32_t id, std::string_view tail) {
  return "{\"id\":" + std::to_string(id) + std::string(tail);
}

}  // namespace qm::test
