#include "textengine/edif/edif_index.h"

#include <gtest/gtest.h>

#include <string>

namespace tarnwick {
namespace {

// "kind name line" for every definition, indented by depth: the outline as the tool prints it.
std::string Outline(const TEdifIndex& index) {
    std::string out;
    for (int32_t i = 0; i < index.DefinitionCount(); ++i) {
        const TEdifDefinition d = index.Definition(i);
        int depth = 0;
        for (int32_t p = d.parent; p >= 0; p = index.Definition(p).parent)
            ++depth;
        out += std::string(size_t(depth) * 2, ' ') + EdifKindName(d.kind) + " " + std::string(d.name) + " " +
               std::to_string(d.head.line) + "\n";
    }
    return out;
}

TEST(EdifIndexTest, RecordsStructuralFormsWithNamesAndParents) {
    TEdifTextLines lines(
        "(edif top (edifVersion 2 0 0)\n"
        " (library work\n"
        "  (cell (rename c1 \"C(1)\") (view v (interface (port (array (rename p \"p[3:0]\") 4)))\n"
        "   (contents (instance i1 (viewRef v (cellRef c1)))\n"
        "    (net net (joined (portRef p)))\n"
        "    (net (rename comment \"x\")))))))\n");
    TEdifIndex index(lines);
    index.BuildAll();
    EXPECT_EQ(Outline(index),
              "edif top 0\n"
              "  library work 1\n"
              "    cell c1 2\n"
              "      view v 2\n"
              "        interface  2\n"
              "          port p 2\n"
              "        contents  3\n"
              "          instance i1 3\n"
              "          net net 4\n"
              "          net comment 5\n");
    const TEdifDefinition port = index.Definition(5);
    EXPECT_TRUE(port.renamed);
    EXPECT_TRUE(port.isArray);
    EXPECT_EQ(port.nameAt, (TEdifPoint{2, 67}));
}

}  // namespace
}  // namespace tarnwick
