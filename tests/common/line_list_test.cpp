#include "common/line_list.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(LineList, WritesEveryEntryBeforeTheMarkerWithCrLf) {
    lista_righe righe{"[generale]", "", "  a  ", std::string(marcatore_fine), "never"};
    EXPECT_EQ(testo_lista(righe), "[generale]\r\n\r\n  a  \r\n");
}

TEST(LineList, StopsAtTheFirstMarkerAndLooksAtMost1001Entries) {
    lista_righe righe(1005, "x");
    EXPECT_EQ(testo_lista(righe).size(), 1001u * 3);
    righe[0] = std::string(marcatore_fine);
    EXPECT_EQ(testo_lista(righe), "");
}

}  // namespace
}  // namespace scenario
