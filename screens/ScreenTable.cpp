#include "screens/ScreenTable.h"

#include "screens/ScreenHost.h"
#include "screens/frontend/CreatePlayerScreen.h"
#include "screens/frontend/DeathScreen.h"
#include "screens/frontend/LoadSaveScreen.h"
#include "screens/frontend/MainMenuScreen.h"
#include "screens/frontend/PagesScreen.h"
#include "screens/frontend/SettingsScreen.h"
#include "screens/frontend/SplashScreen.h"
#include "screens/frontend/WorldsScreen.h"
#include "screens/npc/CardGameScreen.h"
#include "screens/npc/ServicesScreen.h"
#include "screens/npc/ShopScreen.h"
#include "screens/npc/TalkScreen.h"
#include "screens/panels/PanelScreen.h"
#include "world/GameScreen.h"

std::unique_ptr<CScreen> CreateScreen(u32 id, CScreenHost& host) {
    switch (id) {
    case kScreenGame: return std::make_unique<CGameScreen>();
    case kScreenTalk: return std::make_unique<CTalkScreen>(host);
    case kScreenServices: return std::make_unique<CServicesScreen>(host);
    case kScreenPanels: return std::make_unique<CPanelScreen>(host);
    case kScreenShop: return std::make_unique<CShopScreen>(host);
    case kScreenDeath: return std::make_unique<CDeathScreen>();
    case kScreenSplash: return std::make_unique<CSplashScreen>();
    case kScreenLoadSave: return std::make_unique<CLoadSaveScreen>(host);
    case kScreenMainMenu: return std::make_unique<CMainMenuScreen>(host);
    case kScreenCreatePlayer: return std::make_unique<CCreatePlayerScreen>(host);
    case kScreenPages: return std::make_unique<CPagesScreen>(host);
    case kScreenCardGame: return std::make_unique<CCardGameScreen>(host);
    case kScreenSettings: return std::make_unique<CSettingsScreen>(host);
    case kScreenWorlds: return std::make_unique<CWorldsScreen>(host);
    default: return nullptr;
    }
}
