#include "tools/content/WorldScripts.h"

#include <stdexcept>

#include "tools/scriptasm/ScriptAssembler.h"

namespace content {

const std::vector<WorldScript>& WorldScripts() {
    static const std::vector<WorldScript> scripts = {
        {"bres_sign_harbour",
         "// The harbour sign greets whoever reads it.\n"
         "if (evtuse()) message(\"Harbour Town. The well lies east, the cellar north. Welcome, "
         "%PCName%.\");\n"},
        {"bres_lever_gate",
         "// The lever opens the harbour gate, and closes it again.\n"
         "if (evtuse()) {\n"
         "    if (ison()) {\n"
         "        setoff();\n"
         "        harbour_gate.close();\n"
         "        message(\"The gate rattles shut.\");\n"
         "    } else {\n"
         "        seton();\n"
         "        harbour_gate.open();\n"
         "        playsound(\"bsnd_gate\", 8);\n"
         "        message(\"Somewhere a gate grinds open.\");\n"
         "    }\n"
         "}\n"},
        {"bres_plate_cellar",
         "// The plate before the cellar clicks once and warns.\n"
         "if (evtstepon()) {\n"
         "    if (getglobal(\"cellar_warned\") == 0) {\n"
         "        setglobal(\"cellar_warned\", 1);\n"
         "        message(\"The floor plate clicks under your feet. Something below stirs.\");\n"
         "    }\n"
         "}\n"},
        {"bres_talk_harbourmaster",
         "// The harbour master lost her ring; she pays for its return.\n"
         "if (!player.hasquest(\"bres_q_ring\")) {\n"
         "    player.addquest(\"bres_q_ring\");\n"
         "    message(\"I dropped my ring by the well, %PCName%. Bring it back and you will not regret "
         "it.\");\n"
         "} else if (player.hasitem(\"bres_ring\", 1)) {\n"
         "    player.removeitem(\"bres_ring\", 1);\n"
         "    player.solvequest(\"bres_q_ring\");\n"
         "    player.receivegold(100);\n"
         "} else message(\"The well is east of the harbour.\");\n"},
        {"bres_intro_arrival",
         "// The intro's last page: the cart comes over the last hill.\n"
         "message(\"The roofs of Vantrel Town show over the hedges.\");\n"},
    };
    return scripts;
}

std::vector<CompiledScript> CompileWorldScripts() {
    std::vector<CompiledScript> compiled;
    for (const WorldScript& script : WorldScripts()) {
        scriptasm::Options options;
        options.lineRecords = true;
        scriptasm::Result result = scriptasm::Assemble(script.source, options);
        if (!result.ok) throw std::runtime_error(std::string("script ") + script.id + ": " + result.error);
        compiled.push_back({script.id, std::move(result.bytes)});
    }
    return compiled;
}

void WriteCondition(ByteWriter& out, const std::string& parameter, int16_t value, int8_t kind, uint8_t op,
                    uint8_t extra) {
    out.Text(parameter);
    out.U8(0);
    out.Align(2);
    out.I16(value);
    out.U8(static_cast<uint8_t>(kind));
    out.U8(op);
    out.U8(extra);
}

}  // namespace content
