#include <gtest/gtest.h>

#include "engine.h"
#include "memory_ports.h"

using namespace varnel;

TEST(Smoke, Barton) {
    MemorySurface s;
    ScriptedPrompter p;
    RecordingUrlOpener o;
    DecodeEngine e(s, p, o);
    s.SetCodes("AXDA2500DKV4D", "KQXEB0345MPMW", "Y3121234");
    e.Check();
    for (int i = 0; i < 19; ++i) std::printf("%d %s\n", i, qPrintable(s.ResultText(i)));
    std::printf("%s\n", qPrintable(s.ResultsCaption()));
    for (auto& m : p.Messages()) std::printf("MSG %s\n", qPrintable(m.text));
}
