// The main game view (screen 1): the first-person view of the world around the player with the HUD
// over it. It owns the 35 x 35 cell window, the 3D renderer and its caches, the player's facing and
// cell with the glide of a step or a turn, the game clock, the event queue and the action list, and
// the dialog or prompt open over the view. Every world update of the running game happens in its
// tick; every command of the player reaches the world through its key, pen and command slots.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/Str.h"
#include "data/ResourceCatalogue.h"
#include "sound/SoundManager.h"
#include "ui/ActionMenu.h"
#include "ui/ButtonBar.h"
#include "ui/Buttons.h"
#include "ui/Gauges.h"
#include "ui/ListBox.h"
#include "ui/MapView.h"
#include "ui/Panel.h"
#include "ui/PictureView.h"
#include "ui/PictureWidgets.h"
#include "ui/Screen.h"
#include "ui/TextView.h"
#include "ui/WorldMapDialog.h"
#include "ui/Widget.h"
#include "view3d/CellBuilder.h"
#include "view3d/CellEmitters.h"
#include "view3d/ViewCaches.h"
#include "view3d/Renderer3D.h"
#include "view3d/ViewRecord.h"
#include "world/AutomapSource.h"
#include "world/CellPasses.h"
#include "world/HandFrames.h"
#include "world/CellWindow.h"
#include "world/CommandQueue.h"
#include "world/GameClock.h"
#include "world/GameEvent.h"
#include "world/GameViewState.h"
#include "world/GameScriptWorld.h"
#include "world/GameWorldMap.h"
#include "world/GameViewHost.h"
#include "world/GameViewTravel.h"
#include "world/GameViewWorld.h"
#include "world/Player.h"
#include "world/SkyChoice.h"
#include "world/Surroundings.h"
#include "world/TeleportFade.h"
#include "world/Weather.h"
#include "world/WorldAudio.h"
#include "world/PanelEntry.h"
#include "world/PlayerHost.h"

class CFight;
class CGameCreatures;
class CGameMapObjects;
class CItemBag;
class IScriptMapObject;
class CMapSection;
struct CMonster;
struct CPictureSet;
class CRandom;
class CScriptContext;
class CSpell;
struct CItemInstance;
class CWorld;
struct CPlacement;

// What the cell events need of the map objects and the creatures standing in the cells: which events
// a map object or a creature takes, the script a placed object runs, and their own event handlers.
// The map objects' and creatures' classes answer through it; without it no cell takes an event.
class IGameViewObjects {
public:
    virtual ~IGameViewObjects() = default;
    // The event mask of a map-object index (bits of the cell event codes).
    virtual u32 ObjectEventMask(u16 objectIndex) const = 0;
    // The event mask of a creature standing in a cell (0 for none).
    virtual u32 CreatureEventMask(CMapSection& section, u8 creatureId) const = 0;
    // The script id a placed object runs on its events (null or empty: its own handler runs).
    virtual const char* ObjectScript(u16 objectIndex, const CPlacement* placement) const = 0;
    // The placed object a script run for its event acts on as "(this)"; null: none.
    virtual IScriptMapObject* PlacedObject(u16 objectIndex, CMapSection* section, CPlacement* placement) {
        return nullptr;
    }
    // The handler of a map object or a creature; `changed` reports a change of its state.
    virtual i32 HandleObjectEvent(u32 code, CMapSection* section, u16 objectIndex, CPlacement* placement,
                                  i32 x, i32 y, i32 side, bool& changed) = 0;
    virtual i32 HandleCreatureEvent(u32 code, CMapSection& section, u8 creatureId, i32 x, i32 y,
                                    bool& changed) = 0;
};

class CGameScreen : public CScreen,
                    public IPlayerHost,
                    public IGameViewTravel,
                    public IGameClockHost,
                    public IWeatherHost,
                    public IPanelReturn {
public:
    // Screen modes.
    enum : u32 {
        kModeNormal = 1,
        kModeMessage = 2,
        kModeMapPrompt = 3,
        kModeTransition = 4,
        kModeObjectList = 5,
        kModeSpellBook = 6,
        kModeWorldMap = 7,
        kModePotions = 8,
        kModeDoorPrompt = 9,
        kModeLockPick = 10,
        kModeRestPrompt = 11,
        kModeRest = 12,
        kModeStealPrompt = 13,
        kModeMarkRecall = 14,
        kModeEnchant = 15,
        kModeRealmTravel = 16,
    };
    // Cell event codes and target bits.
    static constexpr u32 kEventEnter = 1, kEventLeave = 2, kEventItemUsed = 4, kEventUse = 0x20,
                         kEventArrival = 0x200;
    static constexpr u32 kTargetCentre = 1, kTargetSide = 2, kTargetCreature1 = 4, kTargetCreature2 = 8;
    // Command buttons: attack, turn left, forward, turn right, strafe left, back, strafe right.
    static constexpr u32 kButtonIds[7] = {542, 536, 537, 538, 539, 540, 541};
    static constexpr u32 kButtonKeys[7] = {3000, 1004, 1000, 1006, 3004, 1002, 3005};
    static constexpr i32 kDx[4] = {0, 1, 0, -1};
    static constexpr i32 kDy[4] = {-1, 0, 1, 0};

    CGameScreen();
    ~CGameScreen() override;
    CGameScreen(const CGameScreen&) = delete;
    CGameScreen& operator=(const CGameScreen&) = delete;

    // --- links to the game ---
    // The game's services beyond the widget host; without them the view shows nothing and ignores
    // input (the shell's tests attach the view alone).
    void SetHost(IGameViewHost* host);
    IGameViewHost* GetHost() const { return host_; }
    // The map objects' and creatures' answers to the cell events (null: none take events).
    void SetObjects(IGameViewObjects* objects) { objects_ = objects; }
    // Drops everything that points into the open worlds (they are about to close): the window, the
    // map, the queued events and actions, the open dialog.
    void ForgetWorld();
    // The view's part of a saved game: reset before a game is created or loaded, stored into and taken
    // from the saved state (the map itself comes back with the world's saved position).
    void ResetState();
    void StoreState(CGameViewState& out) const;
    void RestoreState(const CGameViewState& in);
    // Makes this view the host of the player's reports (null: none).
    void AttachPlayer(CPlayer* player);
    CPlayer* GetPlayer() const { return player_; }

    // --- CScreen ---
    void Attach(CWidgetHost* game) override;
    void Enter(u32 a, u32 b, u32 c, u32 d) override;
    void Leave() override;
    void Resume() override;
    void Draw() override;
    u32 OnCommand(u32 id) override;
    u32 OnKey(u32 command) override;
    u32 OnPen(i32 x, i32 y, u32 down, u32 moving) override;
    u32 OnTick(u32 time) override;
    // 1 while the view is turning, stepping, animating, has events queued, actions running or a dialog
    // open (or while `busy` is forced).
    u32 IsBusy() const;

    // --- IPlayerHost ---
    void ShowGameMessage(const char* text) override;
    void PostMessageEvent(const char* text, const char* sound) override;
    void SetHpGauge(int percent) override;
    void SetManaGauge(int percent) override;
    void SetHandSprites() override;
    void PassTimeTo(int hour, int minute) override;
    int GetFacingQuarter() const override { return static_cast<int>(DirectionOfFacing(facing)); }
    bool IsSurfaceMap() const override { return window.IsSurface(); }
    int GetHour() const override { return static_cast<int>(gameClock.GetHour()); }
    int GetWeatherIntensity() const override { return weather.Intensity(); }
    void ShowPlayerHit(int damage, int kind) override;
    void ShowDamageOverTime(int damage) override;
    void CalmCreatures(int radius) override;
    // The magic the player's spells leave to the view: mark (14), recall (15), town portal (16),
    // recharge (17) and enchant (18, the spell's power as the word); other types post nothing.
    void PostSpellEvent(int type, int word) override;

    // --- seams: the clock's weather, the surroundings and the cell window's per-tick passes are
    // classes of their own that the view calls here ---
    // The sounds around the player and the music, after moves, commands and map changes: what was
    // queued stops, the rain loop follows the weather, the fight countdown runs, the music is chosen
    // and the sound-bearing objects within 7 cells are queued again.
    void UpdateSurroundings();
    // A creature of the near list fights (attacks, approaches, flees or lines up) within 4 cells of
    // the player on both axes.
    bool IsFightNear() const;
    // What the music choice looks at now.
    CMusicSituation MusicSituation() const;
    // The tick's ambient sound: at most one every 10 wall-clock seconds, the ambient source or the
    // creature the near list chose (its idle sound).
    void TickAmbient();
    // The ground textures of the cell types that animate (kind 3, more than one frame), gathered when
    // the view is refreshed; each phase-3 tick moves the ground cache on by one frame.
    void BuildAnimatedTextureList();
    void AnimateGroundTextures();
    // The per-tick passes over the cells near the player, by the phase timers that fired (index 0 is
    // phase 1): animation of creatures and doors, the light, creature visibility.
    void RunCellPasses(const bool (&fired)[9]);

    // --- the creatures and the fight ---
    // The fight of the open world; null while no world is open or the player has no world tables.
    CFight* Fight() const;
    // A refilled window or a new place: the creatures and people near the player are gathered anew.
    void EnterCreatures();
    // A step begins towards (x, y): the people look again, underground the creatures look ahead.
    void ScanCreaturesForStep(i32 x, i32 y);
    // The creatures' share of the tick by the phase timers that fired (index 0 is phase 1); after a
    // step or a turn ended (`moved`) they look again, and a hostile creature near a player who has
    // stood still for a second takes its turn without waiting for the player.
    void RunCreaturePasses(const bool (&fired)[9], bool moved, u32 now);
    // Creatures near the player keep the view busy: listed, hurt or striking nearby, a scan pending.
    bool AreCreaturesBusy() const;
    // A creature's event (8 hit, 16 spell, 32 use, 64 death) runs the script of the placed object the
    // creature is bound to; false when it has none (the creature then handles the event itself).
    bool RunCreatureScript(int code, CMapSection& at, CMonster& creature, struct CCreatureEvent& event);
    // The creatures within 7 cells pass one minute of their effects.
    void UpdateCreaturesPerMinute() override;
    // The spell (or the magic of the item) chosen in the spell book is cast: refused while paralysed
    // unless on oneself, paid with mana (a spell), practised, and the creatures look again.
    bool CastSpell(const CSpell* spell, CItemInstance* item);

    // --- music (the front end asks for it) ---
    // Chooses the music: the piece a screen brings, "bmus_main" outside a game, else the map's.
    void UpdateMusic();
    // Stops the current music and forgets it.
    void StopMusic();
    // A script's piece of music, when the world has it: it plays until the choice changes.
    void PlayScriptMusic(const char* name);

    // --- movement and cell events ---
    // The direction 0..3 of a facing that is a multiple of 90 (table[(360 - facing) / 90]).
    static u32 DirectionOfFacing(i32 facing);
    i32 MoveStep(i32 direction);
    void StepBack() { MoveStep(static_cast<i32>((lastStepDirection + 2) & 3)); }
    i32 UseInFront(i32 direction, u32 rightSide);
    // A tap on the lower part of the view: the bag lying in the player's cell opens on its own (the
    // panel's screen code), 0 when none lies there.
    u32 OpenBagInCell();
    void PlayFootstep(bool quiet);
    i32 SendLeaveEvent();
    void SendArriveEvent();
    // `amount` and `spell`: what a blow (its damage) or a spell (its strength and id) on a map object
    // hands to the object's script.
    i32 TriggerCellEvent(u32 code, u32 targets, CMapSection* section, CMapCell* cell, i32 x, i32 y, i32 side,
                         bool testOnly, bool* found, i32 amount = 0, const CSpell* spell = nullptr);
    void TurnLeft() { StartTurn(facing + 90, 10); }
    void TurnRight() { StartTurn(facing - 90, -10); }
    // The cell next to the player in a direction (-1: the facing), with its place; null outside.
    CMapCell* GetCellInDirection(i32 direction, i32& x, i32& y, i32& oppositeSide);
    // The person of a creature slot of the player's own cell whose sprite stands in the half of the
    // cell the player faces (null: none); its section too.
    CMonster* PersonFacedInOwnCell(int slot, CMapSection** at = nullptr) const;
    // Whether the player's cell holds a centre object of one of these type codes.
    bool PlayerCellCentreIs(std::initializer_list<u8> codes) const;

    // --- clock ---
    u32 GetDay() const { return gameClock.GetDay(); }
    u32 GetMinute() const { return gameClock.GetMinute(); }
    bool IsDaytime() const { return gameClock.IsDaytime(); }
    // One minute of game time (a step, an attack, a cast) and whole hours (rest, travel).
    void AdvanceMinute() { gameClock.AdvanceMinute(); }
    void AdvanceClockHours(u32 hours) { gameClock.AdvanceClockHours(hours); }
    void FormatDateTime(CStr& out) const { gameClock.FormatDateTime(out); }

    // --- IGameClockHost, IWeatherHost ---
    const CMapSection* CurrentSection() const override { return section; }
    void ClearAllObjectMarks() override;
    void ReloadSkyAndCaches() override;
    void ReloadSky() override { UpdateSkyPicture(); }

    // --- event queue and actions ---
    void PostChangeMapEvent(const char* mapName, u32 kind);
    void PostMapPromptEvent(const char* mapName, const char* prompt, u32 kind, u32 stepBack);
    void PostTurnEvent(u32 direction);
    void PostSetPositionEvent(u32 x, u32 y);
    void PostKeywordTransitionEvent(const char* keyword, u32 kind);
    void PostTransitionEvent(CWorld* world, CMapSection* map, u32 x, u32 y, u32 direction, u32 kind);
    void InsertTransitionEvent(const char* map, u32 kind);
    void PostJailEvent(const char* prison);
    void PostStepBackEvent();
    void PostMessageEvent(const char* text, u32 options, const char* sound);
    void PostShowObjectListEvent(u32 listId);
    void PostTalkEvent(const char* npcName);
    void PostRestPromptEvent();
    void PostShipVoyageEvent(const char* destination, const char* second);
    // The page sequence of that name, shown by the pages screen over the view (a script's scene).
    void PostPlaySceneEvent(const char* name);
    // A creature to examine at a level (nothing is posted while one waits in the queue), and the
    // steal prompt for a person. The events keep the creature by its section and id.
    void PostExamineEvent(CMapSection& section, const CMonster& creature, u32 level);
    void PostStealPromptEvent(CMapSection& section, const CMonster& creature);
    void AppendMessage(const char* text);
    bool HasMessageEvent() const;
    void DispatchEvent(bool last);
    // The fight's action list (null: no actions run, an attack does nothing).
    void SetActions(IGameViewActions* actions) { fightActions = actions; }
    void RunActions() {
        if (fightActions) fightActions->Run();
    }
    bool HasBlockingAction() const { return fightActions && fightActions->HasBlockingAction(); }
    bool HasActions() const { return fightActions && !fightActions->Empty(); }

    // --- handlers, transitions, prompts ---
    bool ChangeMap(const char* name, u32 kind);
    void OpenMapPrompt(const char* target, const char* text, u32 kind, u32 stepBack);
    void TurnTo(u32 direction);
    void SetPosition(i32 x, i32 y);
    void StartTransition(const char* name, u32 kind);
    void StartPositionTransition(CWorld* world, CMapSection* map, u32 x, u32 y, u32 direction, u32 kind);
    void AnimateTransition();
    void EnterMapAt(CWorld* world, CMapSection* map, i32 x, i32 y, u32 direction);
    void ShowMessage(const char* text, u32 options, const char* sound);
    void OpenTalk(const char* npcName);
    // The object list a script built: shown in the choice box, the chosen entry's id goes back to it.
    void ShowObjectList(u32 listId);
    void TransportToJail(const char* prison);
    void ServeSentence() override;
    // A value 1..count other than `first` that `eligible` accepts, drawn at random a bounded number of
    // times and then searched in order; 0 when none qualifies.
    static i32 DrawSentenceLoss(CRandom* random, i32 count, i32 first,
                                const std::function<bool(i32)>& eligible);
    u32 OnDialogResult(u32 result);
    // Takes the open dialog down (it goes at the next tick) and returns to normal play.
    void CloseModal();

    // --- IGameViewTravel: the spell and travel dialogs ---
    bool GetPlayerCell(int& x, int& y) const override;
    void PostMapTransition(const char* worldId, const char* map, int x, int y, int direction,
                           int kind) override;
    void ChangeMap(const char* destination) override { ChangeMap(destination, 0); }
    void StopQueuedSounds(bool stopMusic) override;

    // --- player commands ---
    void Attack();
    void OpenSpellBook();
    void OpenPotions();
    // Drinks the potion chosen in the potion list (null: none chosen): one potion with a permanent
    // effect per level; false when nothing was drunk.
    bool DrinkSelected(CItemInstance* potion);
    void RestCommand();
    void Rest();
    // The pictures of a visual effect record (a picture set by id) played over the player's portrait,
    // one every 100 ms, as a potion that names one acts; the portrait shows alone again after the
    // last. An unknown id or an empty set shows nothing.
    void ShowPanelEffect(const char* pictureSetId);
    void StepPanelEffect(u32 now);
    // The hurt display's frames over the portrait: picture `step` of the hit picture set (the last
    // one for later steps), then the portrait alone. A potion's effect playing keeps the panel.
    void ShowHitFrame(int step);
    void EndHitFrames();
    // The picture set of the hurt display: a red slash that flares and fades.
    static constexpr const char* kHitPictureSet = "bres_fx_hit";
    static constexpr u32 kPanelEffectStepMs = 100;
    // The effect playing (null: none), the next picture and when the last one went up.
    const CPictureSet* panelEffect = nullptr;
    u32 panelEffectStep = 0, panelEffectLast = 0;
    // The lock-picking dialog on a door's lock word (the door prompt's Pick: the placement's level
    // word); when an attempt springs the trap, `springTrap` gets the word (the door's trap fires).
    void PickLock(u16& lockWord);
    std::function<void(u16 lockWord)> springTrap;

    // Opens the world map over the view (the map widget's tap); refused while moving or acting.
    u32 OpenWorldMap();
    // The item selection of an enchanting (the spell's power as its level) or recharging spell over
    // the view (mode 15); false when the game has none to show.
    bool OpenSpellEnchanting(u16 level, bool recharge);

    // --- the inventory panel (screen 4) over the view ---
    // The player's items beside the bag of the player's cell, made there when none lies there (none
    // under a centre object that keeps bags out): the portrait's tap and the inventory key. The
    // panel's screen code; 0 while the view is busy or the game has no panel.
    u32 OpenGroundBag();
    // Hands the panel its bag and sets the entry words (mode 1 the player's items, 0 the bag on its
    // own; the game event that opened it or 0) and keeps the view underneath: the panel's screen
    // code, 0 when the game has no panel.
    u32 OpenPanel(u32 mode, CItemBag* bag, u32 openingEvent, u32 target);
    // IPanelReturn: what the panel asks when it closes after the player looked into a container.
    bool CellHoldsItems() const override;
    void FindTargetInFront(u32 reference) override;
    // The bag OpenGroundBag made for the panel goes again when the panel gave it back empty: each
    // opening on a new cell would otherwise keep an empty bag, until the section had no bag id left
    // for a drop or a person.
    void ForgetEmptyGroundBag();
    struct MadeBag {
        i32 x = -1, y = -1;  // window cell
        u8 id = 0;
    } madeGroundBag;

    // --- HUD ---
    void SetupHud();
    void SetupTargetPanel();
    void UpdateTarget();
    // The text target of a block's side that holds an entrance (the NPC it names).
    void TargetEntrance(const CMapCell& cell, CMapSection& at, i32 side);
    void DrawTargetPanel();
    void DrawEffectTimer();
    void UpdateGauges();

    // --- the 3D view ---
    // Fills the cell window from the current section, places the player and rebuilds the caches.
    void RefreshView();
    void RebuildViewCaches();
    void RebuildCell(i32 x, i32 y);
    // Rebuilds the cells the scripts changed and forgets them.
    void RebuildChangedCells();
    // Chooses the sky, the fog and the ceiling for the current map and the time of day.
    void UpdateSkyPicture();
    // A creature's step into a window cell: the ground there sounds at the volume of its distance.
    void PlayGroundSound(i32 x, i32 y);
    // Whether the player stands under cover on the surface (a roof over the cell, an open door of a
    // house), with the view's weather flag following it: from each arrival and each new place.
    void UpdateShelter();
    bool sheltered = false;
    // Writes the player's position and facing into the view record.
    void SyncViewPose();
    // Keeps an 80 x 50 picture of the 3D view (when a bag opens over it and when a game is saved): the
    // view is drawn afresh for it, since a screen over the view may have covered its last frame.
    // False, and the kept picture forgotten, while the view has no world of its own to draw (between
    // a load and its entry the window still describes the closed worlds).
    bool MakeViewThumbnail();
    // The picture last kept (black before any, and after the view forgot its world).
    std::vector<u16> viewThumbnail = std::vector<u16>(kThumbnailWidth * kThumbnailHeight, 0);
    void PlaySound(const char* name, i32 volume);

    // --- state ---
    CWidget viewWidget;  // the 3D view's rectangle, for the frame's pen repeat
    u32 inGame = 0;
    // The commands given while the view was busy (keys and HUD buttons alike), the last of each
    // kind: they run when the view is free again, if that is soon.
    CCommandQueue commandQueue;
    // The potion and rest buttons' commands, kept and run as keys are.
    static constexpr u32 kCommandPotions = CCommandQueue::kCommandPotions;
    static constexpr u32 kCommandRest = CCommandQueue::kCommandRest;
    u32 busy = 0;  // forces IsBusy (the shell's tests)
    u32 screenMode = kModeNormal;
    std::unique_ptr<CForm> modalDialog;
    i32 facing = 270, targetFacing = 270, turnStep = 0;
    bool turning = false;
    i32 playerX = 17, playerY = 17;
    u32 fractionX = 0x8000, fractionY = 0x8000;
    bool stepping = false, bump = false;
    i32 stepDx = 0, stepDy = 0;
    u32 bumpPause = 0, bumpTravel = 0;
    i32 previousX = -1, previousY = -1;
    u32 lastStepDirection = 0;
    u32 footstepCountdown = 0;
    bool viewChanged = false, rebuildRequested = false;
    u32 effectTimer = 100;
    // The shape tables of the 47-tile neighbour scheme (an eight-neighbour mask in which a corner
    // counts only together with both of its edge neighbours), which the view's caches read: the
    // picture a ground transition takes by mask, and a block's joint code by mask. Both number the
    // 47 shapes alike (a mask surrounded on all sides is 0); every mask the corner rule cannot
    // produce gives 0.
    u8 transitionShapes[256] = {};
    u16 jointCodes[256] = {};
    std::vector<std::unique_ptr<CGameEvent>> events;
    IGameViewActions* fightActions = nullptr;
    // Transition state.
    CStr transitionTarget;
    u32 transitionKind = 0, transitionFrames = 0, stepBackWord = 0;
    CWorld* transitionWorld = nullptr;
    CMapSection* transitionMap = nullptr;
    u32 transitionX = 0, transitionY = 0, transitionDirection = 0;
    CTeleportFade teleportFade;
    // The jail the player was taken to (the clock keeps the time served).
    CStr jailTarget;
    // The current world and section of the view (the cell window's).
    CWorld* world = nullptr;
    CMapSection* section = nullptr;
    // The phase timers: counter and the time each last fired.
    u32 phaseCount[9] = {};
    u32 phaseLast[9] = {};
    // The last tick (ms) the view was busy: a player who stands still has let the creatures wait
    // since then.
    u32 restSince = 0;
    bool movingSky = false;
    u32 penGuardTick = 0;

    // The music: a screen's own piece while that screen shows (the pages), the catalogue; the piece
    // playing and the fight countdown are the surroundings'.
    const char* screenMusic = nullptr;
    CResourceCatalogue* music = nullptr;
    u32 musicUpdates = 0;

    // Gauges as last set.
    int hpGauge = 100;
    int manaGauge = 100;

    // The view: window, world adapter, record, renderer.
    CRandom* random = nullptr;
    CCellWindow window;
    CViewState3D viewState;
    std::unique_ptr<CGameViewWorld> viewWorld;
    std::unique_ptr<CAutomapSource> automap;  // the HUD's map of the explored cells
    std::unique_ptr<CViewCacheBuilder> cacheBuilder;
    CViewEmitters emitters;
    CRenderer3D renderer;
    bool rendererReady = false;
    // The game clock with its weather, and the sounds they play.
    CCatalogueAudio worldAudio;
    CRandom weatherRandom;
    CWeather weather{weatherRandom, worldAudio};
    CGameClock gameClock{*this, weather};
    // The music, the fight countdown and the looped sounds of the objects around the player.
    CSurroundings surroundings{worldAudio, weather, weatherRandom};
    std::vector<CAnimatedTexture> animatedTextures;
    CRendererParticles weatherParticles{renderer};
    u32 lastParticleTick = 0;
    std::unique_ptr<CWorldSkySource> skySource;
    // The sky a script chose for the surface (empty: the sky of the hour and the weather), and the
    // cloud value 0..100 it gave with it; both stay until a script changes them or a game starts.
    std::string skyName;
    i32 cloud = 0;
    CCellPasses cellPasses{window, viewState};
    CCellRefs cellRefs;

    // The HUD.
    CBitmapButton buttons[7];
    CBitmapButton spellButton, potionButton, restButton;
    CPictureView hudBottom, hudSide;
    // The pixels the two HUD panels left when they were last drawn, and what they were drawn from.
    struct CKeptPanel {
        struct Key {
            u16 x = 0, y = 0, w = 0, h = 0;
            const CRecordHolder* picture = nullptr;
            const u8* data = nullptr;
            const u16* frame = nullptr;
            u16 frameWidth = 0, frameHeight = 0;
            bool operator==(const Key&) const = default;
        } key;
        std::vector<u16> pixels;
        bool valid = false;
    };
    CKeptPanel keptPanels_[2];
    void DrawKeptPanels();
    // The frame round the 3D view (element 550) and the hand area (element 549).
    CHandFrame viewFrame, handArea;
    CMapView mapView;
    CPanel portrait;
    CGaugeBar hpBar, manaBar;
    CCompass compass;
    // Target panel: up to two targets with a name, a health 0..100 and whether a bar shows.
    struct Target {
        bool visible = false;
        CStr name;
        u32 health = 100;
        bool bar = false;
    } targets[2];
    u32 selectedTarget = 0;
    i32 targetPanelX = 0, targetPanelY = 0, targetPanelW = 0, targetPanelH = 0;

    // What the scripts see of the view, and what the world map shows.
    CGameScriptWorld scriptWorld{*this};
    CGameWorldMap worldMapSource{*this};

    // The open message box and its buttons; the script whose question it asks.
    CButtonBar messageBar;
    u32 messageOptions = 0;
    CStr messageText;  // what the box says (kept whole: the view holds it wrapped)
    CStr triggerScript;
    // The list a script is building (title and entries of id and title), and the box that shows it.
    struct PendingList {
        bool open = false;
        CStr title;
        std::vector<std::pair<std::string, std::string>> entries;
    } pendingList;
    CListBox objectList;
    CActionMenu objectMenu;
    // A screen the view switches to at the end of its tick (talk).
    u32 pendingScreen = 0;
    // The creatures' host and the fight, made when a map is entered.
    std::unique_ptr<CGameCreatures> creatures;
    // The map objects' host and the cell events' answers, made with the game around the view.
    std::unique_ptr<CGameMapObjects> mapObjects;

private:
    friend class CGameMapObjects;  // opens the view's dialogs for the doors and the travel events
    void StartTurn(i32 target, i32 step);
    u32 RunCommandKey(u32 command);
    bool PhaseFired(int phase, u32 now, u32 period);
    void StepPhase();
    void EndOfStep();
    void SwitchSurfacePiece(i32 axis, i32 towards);
    void DispatchOne(CGameEvent& event);
    void OpenModalDialog(CGameViewDialog kind, u32 mode, const char* text = "", const char* destination = "");
    bool IsBlockingTarget(i32 x, i32 y, i32 direction);
    bool IsDoorCellOpen(i32 x, i32 y) const;
    // A placed object is active (its first flag bit) or absent.
    bool IsObjectActive(i32 x, i32 y, u8 id) const;
    bool IsBlocking(u16 objectIndex, const CPlacement* placement) const;
    void FillShapeTables();
    CWorld* FindWorldForMap(const char* name) const;
    CPlacement* FindEntry(CWorld* w, const char* name, CMapSection*& where) const;
    void AfterPositionChange();
    void ReleaseMapObjects();

    IGameViewHost* host_ = nullptr;
    std::unique_ptr<CForm> retiredDialog_;
    CScriptContext* scriptContext_ = nullptr;
    IGameViewObjects* objects_ = nullptr;
    CPlayer* player_ = nullptr;
    u16* lockWord_ = nullptr;  // the lock being picked
};
