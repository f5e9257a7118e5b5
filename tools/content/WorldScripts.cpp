#include "tools/content/WorldScripts.h"

#include <stdexcept>

#include "tools/scriptasm/ScriptAssembler.h"

namespace content {

const std::vector<WorldScript>& WorldScripts() {
    static const std::vector<WorldScript> scripts = {
        {"bres_sign_harbour",
         "// The town's sign greets whoever reads it.\n"
         "if (evtuse()) message(\"Vantrel Town. The inn is the house on the square, the cellar stairs "
         "lie north-west. Welcome, %PCName%.\");\n"},
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
        {"base_crypt_lever",
         "// The lever in the tomb chamber raises the shrine's gate, and lets it down again.\n"
         "if (evtuse()) {\n"
         "    if (ison()) {\n"
         "        setoff();\n"
         "        base_crypt_gate.close();\n"
         "        message(\"The shrine's gate drops back into its groove.\");\n"
         "    } else {\n"
         "        seton();\n"
         "        base_crypt_gate.open();\n"
         "        message(\"Chains rattle in the wall; the shrine's gate rises.\");\n"
         "    }\n"
         "}\n"},
        {"base_talk_maren_cellar",
         "// Maren's line about the knocking hands the player her quest, once.\n"
         "if (!player.hasquest(\"base_q_cellar\")) player.addquest(\"base_q_cellar\");\n"},
        {"base_crypt_shrine",
         "// The shrine's bell quiets the crypt and ends Maren's quest, once, with gold and experience.\n"
         "if (evtuse()) {\n"
         "    if (getglobal(\"base_crypt_rested\") == 1) {\n"
         "        message(\"The shrine is silent. The keepers sleep.\");\n"
         "    } else if (player.hasquest(\"base_q_cellar\")) {\n"
         "        setglobal(\"base_crypt_rested\", 1);\n"
         "        message(\"You ring the old bell. Its note rolls through the crypt and the knocking "
         "stops.\");\n"
         "        player.solvequest(\"base_q_cellar\");\n"
         "        player.receivegold(150);\n"
         "        player.addxp(100);\n"
         "    } else message(\"An old bell hangs over the shrine. You have no cause to ring it.\");\n"
         "}\n"},
        {"base_talk_elder_errand",
         "// The elder hands over his letter with the errand, and another copy when it was lost.\n"
         "if (!player.hasquest(\"base_q_elder\")) {\n"
         "    player.addquest(\"base_q_elder\");\n"
         "    player.receiveitem(\"base_letter_elder\", 1);\n"
         "    message(\"Take this letter to Corwen, the smith on the town square, %PCName%. He is waiting "
         "for it.\");\n"
         "} else if (!player.hasitem(\"base_letter_elder\", 1)) {\n"
         "    player.receiveitem(\"base_letter_elder\", 1);\n"
         "    message(\"Lost it? Here, I have written it out again.\");\n"
         "} else message(\"Corwen's forge is on the town square, down the road.\");\n"},
        {"base_talk_smith_letter",
         "// The smith takes the elder's letter and ends the errand, once, with a few coins.\n"
         "if (player.hasitem(\"base_letter_elder\", 1)) {\n"
         "    player.removeitem(\"base_letter_elder\", 1);\n"
         "    message(\"New hinges for the town gate, before the frost. Tell the elder they will be "
         "ready. Here, for your legs.\");\n"
         "    player.solvequest(\"base_q_elder\");\n"
         "    player.receivegold(50);\n"
         "} else message(\"A letter from the elder? You do not have it with you. Ask him for another.\");\n"},
        {"base_boatman",
         "// The boatman rows to the additional worlds that are open, for his fare. His list comes first;\n"
         "// the player's choice runs the script again with the list's answer.\n"
         "if (evtuse()) {\n"
         "    if (answer() == 0) {\n"
         "        createobjectlist(\"Where to?\");\n"
         "        addobjecttolist(\"exppack1\", \"exppack1\");\n"
         "        addobjecttolist(\"stay\", \"Stay in the vale\");\n"
         "        showobjectlist();\n"
         "    } else {\n"
         "        where = getobjectlistresult();\n"
         "        if (where == \"\") message(\"The boatman goes back to mending his net.\");\n"
         "        else if (where == \"stay\") message(\"The boatman goes back to mending his net.\");\n"
         "        else if (player.getgold() < 50) message(\"Fifty gold for the crossing, says the boatman. "
         "You do not have it.\");\n"
         "        else {\n"
         "            player.removegold(50);\n"
         "            player.movebyship(where, \"The boatman rows you out across the still water, to a "
         "shore beyond the vale.\");\n"
         "        }\n"
         "    }\n"
         "}\n"},
        {"bres_intro_arrival",
         "// The intro's last page: the cart comes over the last hill.\n"
         "message(\"The roofs of Vantrel Town show over the hedges.\");\n"},
    };
    return scripts;
}

std::vector<uint8_t> CompileWorldScript(const std::string& id) {
    for (CompiledScript& script : CompileWorldScripts())
        if (script.id == id) return std::move(script.code);
    throw std::runtime_error("no world script " + id);
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
