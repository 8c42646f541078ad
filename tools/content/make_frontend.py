#!/usr/bin/env python3
# Writes the front-end scenes and prefabs (one JSON line each) into Resources/. It prints the
# layout numbers the UI scripts use, so a layout change can be carried into them.
import json, os
WT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'Resources')
ADV = 28.8     # FiraCode advance at scale 1, virtual units
CAP = 34.0     # cap height at scale 1
UI = 'Resources/Sprites/UI/'
BG = 'Resources/Sprites/Backgrounds/'
SCR = 'Resources/Scripts/UI/'

def V(x=0, y=0, z=0, w=0): return {"X": x, "Y": y, "Z": z, "W": w}
def C(r, g, b, a=1): return {"R": r, "G": g, "B": b, "A": a}

class Scene:
    def __init__(self):
        self.ents = []; self.key = 100
    def add(self, name, pos=(0, 0, 0), scale=(1, 1, 1), layer=0, active=True, parent=None, **comps):
        self.key += 1
        e = {"ID": name, "ID Type": 0, "Layer": layer, "GameObject Active": active,
             "Current Parent ID": self.key}
        if parent is not None: e["Parent ID"] = parent
        e["Transform"] = {"Position": V(*pos), "Angle": V(), "Scale": V(scale[0], scale[1], 1)}
        e.update(comps)
        self.ents.append(e)
        return self.key
    def camera(self):
        self.ents.append({"ID": "Main Camera", "ID Type": 0, "Transform": {},
                          "Camera": {"Zoom": 1, "Start Zoom": 1, "Start Position": V()}})
    def image(self, name, tex, pos, scale=(1, 1), tint=(1, 1, 1, 1), parent=None, active=True, opacity=1.0, **kw):
        return self.add(name, pos, scale, parent=parent, active=active,
                        **{"UI Image": {"Texture": tex, "Tint": C(*tint), "Opacity": opacity}}, **kw)
    def text(self, name, s, x, y, scale=1.0, color=(1, 1, 1), align='center', parent=None):
        # x, y: the centre (or the left end with align 'left') of the line
        if align == 'center': x = x - len(s) * ADV * scale / 2
        return self.add(name, (round(x, 1), round(y - CAP * scale / 2, 1), 2), (scale, scale), parent=parent,
                        **{"UI Text": {"Text": s, "Color": C(*color)}})
    def button(self, name, pos, index, menu, scale=(1.25, 1.25), parent=None):
        return self.add(name, pos, scale, parent=parent,
                        **{"UI Button": {"Button Texture Default": UI + 'button.png',
                                         "Button Texture Hover": UI + 'button_hover.png',
                                         "Button Texture Down": UI + 'button_down.png'},
                           "Script": {"File Path": {"File Path 0": SCR + 'MenuButton.orin'},
                                      "Float List": {"index": index}, "Entity List": {"menu": menu}}})
    def sprite(self, name, tex, pos, scale, layer, tint=(1, 1, 1, 1), opacity=1.0, **kw):
        return self.add(name, pos, scale, layer=layer,
                        **{"Sprite Renderer": {"Texture": tex, "Tint": C(*tint), "Opacity": opacity,
                                               "Receive Light": False}}, **kw)
    def script(self, files, floats=None, ents=None, strings=None):
        d = {"File Path": {"File Path %d" % i: SCR + f for i, f in enumerate(files)}}
        if floats: d["Float List"] = floats
        if ents: d["Entity List"] = ents
        if strings: d["String List"] = strings
        return d
    def backdrop(self, drift=True, dim=1.0):
        t = (dim, dim, dim, 1)
        self.sprite("Sky", BG + 'sky.png', (0, 0, 0), (4, 4), 0, tint=t)
        for i, x in enumerate((0, 1920)):
            kw = {"Script": self.script(['Drift.orin'], {"speed": -12, "limit": -1920, "jump": 3840})} if drift else {}
            self.sprite("Mountains%d" % i, BG + 'mountains.png', (x, -270, 0), (2, 2), 1, tint=t, **kw)
        for i, x in enumerate((0, 1920)):
            kw = {"Script": self.script(['Drift.orin'], {"speed": -40, "limit": -1920, "jump": 3840})} if drift else {}
            self.sprite("Trees%d" % i, BG + 'trees.png', (x, -270, 1), (2, 2), 1, tint=t, **kw)
    def emitter(self, name, pos, layer=3, **settings):
        e = {"Particle Texture": 'Resources/Sprites/Particles/spark.png', "Glow": True}
        e.update(settings)
        return self.add(name, pos, layer=layer, **{"Particle Emitter": e})
    def fireflies(self, colour, name="Fireflies"):
        a = colour + (0.9,)
        self.emitter(name, (0, -520, 2), **{"Count": 60, "X Offset": 1900, "Direction": 90, "Spread": 40,
                     "Start Speed": {"Min": 40, "Max": 90}, "End Speed": {"Min": 10, "Max": 30},
                     "Life": {"Min": 5, "Max": 9}, "Emission Rate Range": {"Min": 0.15, "Max": 0.35},
                     "Start Color": {"Min": C(*a), "Max": C(*a)}, "End Color": {"Min": C(colour[0], colour[1], colour[2], 0), "Max": C(colour[0], colour[1], colour[2], 0)},
                     "Start Scale": {"Min": V(1.5, 1.5, 1), "Max": V(2.5, 2.5, 1)}, "End Scale": {"Min": V(0.6, 0.6, 1), "Max": V(1, 1, 1)}})
    def write(self, path, audio=()):
        line = json.dumps(self.ents, separators=(',', ':'))
        head = ''
        if audio: head = 'Audio:' + ''.join(a + ',' for a in audio) + '\n'
        os.makedirs(os.path.dirname(path), exist_ok=True)
        open(path, 'w').write(head + line + '\n')

SFX = ['Resources/Audio/SFX/ui_move.ogg', 'Resources/Audio/SFX/ui_select.ogg']
AMBER = (1.0, 0.78, 0.35); TEAL = (0.45, 0.9, 0.9); GREY = (0.75, 0.78, 0.85)
HINT = "Up/Down or D-pad: choose    Enter, Space or A: select"

# ---------------------------------------------------------------- LogoScene
s = Scene(); s.camera()
s.sprite("Logo", UI + 'logo.png', (0, 40, 0), (1.5, 1.5), 2, opacity=0.0,
         Script=s.script(['LogoScene.orin']))
s.write(WT + '/Scenes/LogoScene.scene', ['Resources/Audio/SFX/logo.ogg'])

# ---------------------------------------------------------------- MainMenu
s = Scene(); s.camera(); s.backdrop()
director = s.add("MenuDirector", Script=s.script(['MenuNav.orin', 'TimeFormat.orin', 'MainMenu.orin']))
s.image("Title", UI + 'logo.png', (0, 340, 0), (1.25, 1.25))
main = s.add("MainGroup")
BX = -420; ys = [90, -20, -130]
for (name, label, y, i) in (("Play", "Play", ys[0], 0), ("Options", "Options", ys[1], 1), ("Quit", "Quit", ys[2], 2)):
    s.button(name + "Button", (BX, y, 1), i, director, parent=main)
    s.text(name + "Label", label, BX, y, 0.9, parent=main)
PLAY = {'PLAYX_PLAY': round(BX - 4 * ADV * 0.9 / 2, 1), 'PLAYX_CONTINUE': round(BX - 8 * ADV * 0.9 / 2, 1),
        'PLAYY': round(ys[0] - CAP * 0.9 / 2, 1)}
PX, PY = 420, -20
s.image("ProgressPanel", UI + 'panel.png', (PX, PY, 0), (1, 1), parent=main)
L = PX - 220
s.text("ProgressTitle", "Progress", PX, PY + 150, 0.9, AMBER, parent=main)
s.text("FurthestText", "Furthest level: -", L, PY + 85, 0.7, align='left', parent=main)
s.text("GemsText", "Gems: 0", L, PY + 40, 0.7, align='left', parent=main)
s.text("BestTimesTitle", "Best times", L, PY - 15, 0.7, TEAL, align='left', parent=main)
for i in (1, 2, 3):
    s.text("BestTime%dText" % i, "Level %d  -" % i, L + 20, PY - 15 - 45 * i, 0.7, align='left', parent=main)
opts = s.add("OptionsGroup", active=False)
s.image("OptionsPanel", UI + 'panel.png', (0, -66, 0), (1.35, 1.62), parent=opts)
s.text("OptionsTitle", "Options", 0, 200, 1.0, AMBER, parent=opts)
OPTION_ROWS = (("Fullscreen", "Display: Windowed"), ("Cursor", "Cursor: Shown"), ("Music", "Music: 100%"),
               ("Effects", "Effects: 100%"), ("Controls", "Controls"))
for i, (name, label) in enumerate(OPTION_ROWS):
    y = 130 - 78 * i
    s.button(name + "Button", (0, y, 1), i, director, scale=(2.2, 1.0), parent=opts)
    s.text(name + "Label", label, -236, y, 0.72, align="left", parent=opts)
s.button("BackButton", (0, -270, 1), len(OPTION_ROWS), director, scale=(1.25, 1.0), parent=opts)
s.text("BackLabel", "Back", 0, -270, 0.9, parent=opts)
# The controls page: a row per action (the script writes the labels), the defaults, Back, and a
# line for what the last pick did.
keys = s.add("ControlsGroup", active=False)
s.image("ControlsPanel", UI + 'panel.png', (0, 20, 0), (1.95, 2.15), parent=keys)
s.text("ControlsTitle", "Controls", 0, 385, 1.0, AMBER, parent=keys)
for i in range(7):
    y = 305 - 66 * i
    s.button("Key%dButton" % i, (0, y, 1), i, director, scale=(3.5, 0.95), parent=keys)
    s.text("Key%dLabel" % i, "-", -430, y, 0.56, align="left", parent=keys)
s.button("DefaultKeysButton", (0, 305 - 66 * 7, 1), 7, director, scale=(2.2, 0.95), parent=keys)
s.text("DefaultKeysLabel", "Default keys", 0, 305 - 66 * 7, 0.72, parent=keys)
s.button("ControlsBackButton", (0, 305 - 66 * 8, 1), 8, director, scale=(1.25, 0.95), parent=keys)
s.text("ControlsBackLabel", "Back", 0, 305 - 66 * 8, 0.9, parent=keys)
s.text("ControlsNote", " ", -430, 305 - 66 * 9 + 10, 0.56, TEAL, align="left", parent=keys)
s.fireflies((0.55, 1.0, 0.85))
s.text("MenuHint", HINT, 0, -490, 0.5, GREY)
s.write(WT + '/Scenes/MainMenu.scene', ['Resources/Audio/Music/menu.ogg'] + SFX)

# ---------------------------------------------------------------- Loading
BARSX, BARSY, BARY = 3.0, 1.0, -60
s = Scene(); s.camera(); s.backdrop(drift=False, dim=0.45)
s.add("Loader", Script=s.script(['Loading.orin']))
s.text("LoadingText", "Loading level 1", 0, 60, 1.2, AMBER)
s.image("LoadingBarBack", UI + 'bar_back.png', (0, BARY, 0), (BARSX, BARSY))
s.image("LoadingBarFill", UI + 'bar_fill.png', (-128 * BARSX, BARY, 1), (0, BARSY), tint=(0.35, 0.85, 0.85, 1))
s.text("LoadingPercent", "0%", 0, BARY - 60, 0.7, GREY)
s.text("LoadingTip", "", 0, -300, 0.6, TEAL)
# A spinning gem: it keeps turning in the loader's frames, so a slow load still shows life.
s.add("LoadingGem", (0, 200, 0), (4, 4), **{"UI Image": {"Texture": 'Resources/Sprites/Items/gem.png',
      "Mesh": {"Mesh": "gemSheet", "Mesh X": 6, "Mesh Y": 1}},
      "Animator Component": {"Animation List": {"Animation List 0": {"Start Frame": 0, "End Frame": 5, "Name": "Spin", "Looping": True}},
                             "Current Animation": "Spin", "Seconds Per Frame": 0.08}})
s.write(WT + '/Scenes/Loading.scene')
LOADING = {'BARSX': BARSX, 'BARHALF': 128 * BARSX, 'BARLEFT': -128 * BARSX, 'BARSY': BARSY, 'BARY': BARY}

# ---------------------------------------------------------------- GameOver
s = Scene(); s.camera(); s.backdrop(dim=0.5)
director = s.add("GameOverDirector", Script=s.script(['MenuNav.orin', 'GameOver.orin']))
s.text("GameOverTitle", "Game over", 0, 300, 2.2, (0.95, 0.3, 0.3))
s.text("GameOverLevelText", "Fallen in level 1", 0, 170, 0.8, GREY)
s.text("GameOverGemsText", "Gems this run: 0", 0, 115, 0.8, GREY)
s.button("RetryButton", (0, -10, 1), 0, director)
s.text("RetryLabel", "Retry", 0, -10, 0.9)
s.button("MenuButton", (0, -120, 1), 1, director)
s.text("MenuLabel", "Menu", 0, -120, 0.9)
s.fireflies((1.0, 0.35, 0.2), "Embers")
s.text("GameOverHint", HINT, 0, -490, 0.5, GREY)
s.write(WT + '/Scenes/GameOver.scene', ['Resources/Audio/Music/gameover.ogg'] + SFX)

# ---------------------------------------------------------------- Victory
s = Scene(); s.camera(); s.backdrop()
director = s.add("VictoryDirector", Script=s.script(['MenuNav.orin', 'TimeFormat.orin', 'Victory.orin']))
s.text("VictoryTitle", "Congratulations!", 0, 360, 1.8, AMBER)
s.text("VictorySubtitle", "All three levels cleared.", 0, 270, 0.7, TEAL)
s.image("VictoryPanel", UI + 'panel.png', (0, 20, 0), (1.3, 0.95))
L = -300
s.text("VictoryTimeText", "Last level time: 0:00.0", L, 150, 0.75, align='left')
s.text("VictoryGemsText", "Gems this run: 0", L, 100, 0.75, align='left')
s.text("VictoryBestTitle", "Best times", L, 40, 0.75, TEAL, align='left')
for i in (1, 2, 3):
    s.text("VictoryBest%dText" % i, "Level %d  -" % i, L + 20, 40 - 45 * i, 0.7, align='left')
s.text("VictoryTotalText", "", L + 20, -150, 0.7, AMBER, align='left')
for side, x in (("Left", -720), ("Right", 720)):
    s.emitter("Fountain" + side, (x, -420, 2), **{"Count": 120, "Direction": 90, "Spread": 40,
              "Has Gravity": True, "Gravity Scale": 1.2,
              "Start Speed": {"Min": 650, "Max": 900}, "End Speed": {"Min": 200, "Max": 300},
              "Life": {"Min": 1.2, "Max": 1.9}, "Emission Rate Range": {"Min": 0.02, "Max": 0.05},
              "Start Color": {"Min": C(1.0, 0.8, 0.35, 1), "Max": C(0.45, 0.95, 0.95, 1)},
              "End Color": {"Min": C(1.0, 0.5, 0.2, 0), "Max": C(0.3, 0.6, 1.0, 0)},
              "Start Scale": {"Min": V(1.2, 1.2, 1), "Max": V(2, 2, 1)}, "End Scale": {"Min": V(0.4, 0.4, 1), "Max": V(0.6, 0.6, 1)}})
s.button("MenuButton", (0, -300, 1), 0, director)
s.text("MenuLabel", "Menu", 0, -300, 0.9)
s.write(WT + '/Scenes/Victory.scene', ['Resources/Audio/Music/victory.ogg'] + SFX)

# ---------------------------------------------------------------- HUD prefab
HB = 1.25
s = Scene()
s.key = 9100
hud = s.add("HUD", Script=s.script(['TimeFormat.orin', 'HUD.orin']))
IX = -910; BXL = -880
# Dark backings keep the numbers readable over a bright sky.
s.image("HUDBackingLeft", UI + 'panel.png', (-742, 460, -1), (0.8, 0.4), parent=hud)
s.image("HUDBackingRight", UI + 'panel.png', (795, 497, -1), (0.55, 0.2), parent=hud)
for (icon, back, fill, y, tint) in (("heart_icon", "HUDHealthBack", "HUDHealthFill", 505, (0.9, 0.25, 0.3, 1)),
                                    ("shield_icon", "HUDArmourBack", "HUDArmourFill", 460, (0.35, 0.8, 0.95, 1))):
    s.image("HUD" + icon.split('_')[0].capitalize() + "Icon", UI + icon + '.png', (IX, y, 0), (2.5, 2.5), parent=hud)
    s.image(back, UI + 'bar_back.png', (BXL + 128 * HB, y, 0), (HB, HB), parent=hud)
    s.image(fill, UI + 'bar_fill.png', (BXL, y, 1), (0, HB), tint=tint, parent=hud)
s.image("HUDGemIcon", UI + 'gem_icon.png', (IX, 415, 0), (2.5, 2.5), parent=hud)
s.text("HUDGemText", "x 0", BXL, 415, 0.75, AMBER, align='left', parent=hud)
s.text("HUDLevelText", "Level 1", 0, 500, 0.8, TEAL, parent=hud)
s.text("HUDTimeText", "Time 0:00.0", 680, 500, 0.75, align='left', parent=hud)
s.write(WT + '/Prefabs/UI/HUD.prefab')
HUDC = {'BARSX100': HB / 100, 'BARLEFT': BXL, 'BARSY': HB, 'HEALTHY': 505, 'ARMOURY': 460}

# ---------------------------------------------------------------- PauseMenu prefab
s = Scene()
s.key = 9200
root = s.key + 1
group = root + 1
resume = root + 2
s.add("PauseMenu", Script=s.script(['MenuNav.orin', 'PauseMenu.orin'],
                                   ents={"group": group, "b0": group + 3, "b1": group + 5}))
assert s.add("PauseGroup", active=False, parent=root) == group
s.image("PausePanel", UI + "panel.png", (0, -10, 0), (0.9, 1.1), parent=group)
s.text("PauseTitle", "Paused", 0, 120, 1.3, AMBER, parent=group)
assert s.button("PauseResumeButton", (0, 10, 1), 0, root, parent=group) == group + 3
s.text("PauseResumeLabel", "Resume", 0, 10, 0.9, parent=group)
assert s.button("PauseQuitButton", (0, -100, 1), 1, root, parent=group) == group + 5
s.text("PauseQuitLabel", "Menu", 0, -100, 0.9, parent=group)
s.text("PauseHint", "Esc or Start: resume", 0, -160, 0.5, GREY, parent=group)
# Darkens the blurred world behind the panel (UI images draw by z, this one first).
s.image("PauseShade", 'Resources\\Sprites\\basicSprite.dds', (0, 0, -1), (60, 33.75), tint=(0, 0, 0, 1), opacity=0.45, parent=group)
s.write(WT + '/Prefabs/UI/PauseMenu.prefab')

print(PLAY, LOADING, HUDC)
