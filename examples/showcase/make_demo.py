#!/usr/bin/env python3
"""Writes demo.opr of the "showcase" example: 96 seconds that use every operator orvane has, built
with the authoring library (tools/orvane_author). Run it after editing:
    python3 examples/showcase/make_demo.py > examples/showcase/demo.opr

The picture follows the music's six sections of eight bars (120 beats per minute, a bar is 2 s):
     0-16 s  dawn    a ray-marched sculpture wakes on a tiled floor, dust in the air, the title
    16-32 s  rings   rings of pillars and lamps, a LightWave knot, a twisting tower echoing the beat
    32-48 s  drop    a cloud of textured cubes, shards, bloom and glitches; the title opens onto...
    48-64 s  break   a kaleidoscope drawn by an image shader (no kick in the music: no 3D)
    64-80 s  sparks  particle fountains around the sculpture; the G-buffer flashes on the beat
    80-96 s  outro   the sculpture again, glowing, as the camera pulls away; the title, the fade
Each 3D section is its own light pass with its camera and lights, drawn only inside its time
window ("Eval"); the 2D parts are images laid over the 3D picture by sprites whose alpha follows
the sections.
"""

import math
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
from orvane_author import Curve, Demo  # noqa: E402

BEAT = 0.5  # seconds: 120 beats per minute
BAR = 4 * BEAT
DAWN, RINGS, DROP, BREAK, SPARKS, OUTRO, END = 0.0, 16.0, 32.0, 48.0, 64.0, 80.0, 96.0


def beat_pulse(low, high, period=BEAT, decay=0.35):
    """A value that jumps to `high` on every beat and falls back to `low` within `decay` of it."""
    return Curve([(0, high), (period * decay, low), (period, low)], after="repeat")


def window(start, end, inside, outside=0.0, fade=0.0):
    """`inside` between start and end, `outside` elsewhere; with a fade, linear ramps of that length
    inside the window's edges."""
    if fade <= 0:
        return Curve([(0, outside, "step"), (start, inside, "step"), (end, outside, "step")])
    return Curve([(0, outside), (start, outside), (start + fade, inside), (end - fade, inside),
                  (end, outside)])


class Graph(Demo):
    """The showcase document, with the small patterns it repeats."""

    def draw(self, source, target, port):
        self.connect(source, target, port)

    def material(self, scene, color, metalness=0.3, roughness=0.5, emissive=(0, 0, 0), specular=0.04, **more):
        op = self.add("Material", Color_R=color[0], Color_G=color[1], Color_B=color[2],
                      Specular_R=specular, Specular_G=specular, Specular_B=specular,
                      Metalness=metalness, Roughness=roughness, **more)
        if any(emissive):
            op.set(Emissive_R=emissive[0], Emissive_G=emissive[1], Emissive_B=emissive[2])
        self.draw(scene, op, "sceneIn")
        return op

    def transform(self, scene, **values):
        op = self.add("Transform", **values)
        self.draw(scene, op, "InScene")
        return op

    def group(self, members):
        op = self.add("Group")
        for member in members:
            self.draw(member, op, "InScene")
        return op

    def sin(self, amplitude=1.0, frequency=1.0, phase=0.0, offset=0.0):
        op = self.add("Sin", Amplitude=amplitude, Frequency=frequency, Phase=phase, Offset=offset)
        self.connect(self.time, op, "Value")
        return op

    def orbit_camera(self, scene, radius, height, speed, phase=0.0, fov=50.0, look_down=0.3, wobble=0.0):
        """A camera circling the origin at `radius` (a number or a Curve) and looking at it."""
        camera = self.add("Camera", FOV=fov, zNear=0.1, zFar=200.0, Direction_Y=-look_down)
        if not wobble:
            camera.set(Position_Y=height)
        x = self.sin(amplitude=radius, frequency=speed, phase=phase)
        z = self.sin(amplitude=radius, frequency=speed, phase=phase + math.pi / 2)
        dx = self.sin(amplitude=-1.0, frequency=speed, phase=phase)
        dz = self.sin(amplitude=-1.0, frequency=speed, phase=phase + math.pi / 2)
        for source, port in ((x, "Position.X"), (z, "Position.Z"), (dx, "Direction.X"), (dz, "Direction.Z")):
            self.connect(source, camera, port)
        if wobble:
            self.connect(self.sin(amplitude=wobble, frequency=0.7, offset=height), camera, "Position.Y")
        self.draw(scene, camera, "InScene")
        return camera

    def lit(self, scene, lights):
        """Hangs `scene` under a chain of lights, the first one innermost."""
        for light, port in lights:
            self.draw(scene, light, port)
            scene = light
        return scene

    def section(self, scene, start, end):
        """A light pass of `scene`, drawn only between start and end."""
        light_pass = self.add("LightPass")
        self.draw(scene, light_pass, "SceneIn")
        only = self.add("Eval", Start=start, End=end)
        self.draw(light_pass, only, "SCeneIn")
        return only


def sculpture(g, carving, glow, radius=1.6):
    """The ray-marched centre piece: a sphere carved by a gyroid, in warm metal."""
    shape = g.add("RayMarching", Filepath="shaders/sculpture.glsl", Param1_X=radius, Param1_Y=3.2,
                  Param1_Z=0.35, Param1_W=carving, Param2_X=glow, Param2_Y=Curve([(0, 0), (96, 1.5)]))
    return g.material(shape, (0.95, 0.62, 0.32), metalness=0.7, roughness=0.3)


def tiled_floor(g, tiles, size=30.0):
    quad = g.add("Quad")
    surface = g.material(quad, (1.0, 1.0, 1.0), metalness=0.2, roughness=0.35)
    g.draw(tiles, surface, "AlbedoTex")
    return g.transform(surface, Position_Y=-1.7, Scale_X=size, Scale_Z=size)


def dust(g, seed, color1, color2, rate=120, emitter="Sphere", speed=0.4, gravity=-0.05, size=(0.02, 0.05),
         spread=6.0, lifetime=5.0):
    """Slow glowing motes filling a sphere around the centre."""
    return g.add("Particles", Rate=rate, StartSpeed=speed, GravityModifier=gravity, Lifetime=lifetime,
                 StartSizeMin=size[0], StartSizeMax=size[1], Seed=seed, RandomVelPower=1.0,
                 StartColor1_R=color1[0], StartColor1_G=color1[1], StartColor1_B=color1[2],
                 StartColor2_R=color2[0], StartColor2_G=color2[1], StartColor2_B=color2[2],
                 Emitter=emitter, EmitterParam_X=spread, EmitterParam_Y=spread, EmitterParam_Z=spread)


def dawn_and_outro(g, tiles):
    """The sculpture on its floor, in low warm light: first waking (dawn), then glowing (outro)."""
    carving = Curve([(0, 0), (3, 0), (14, 1.0, "hermite"), (96, 1.0)])
    glow = Curve([(0, 0), (8, 0), (16, 1.5), (80, 1.5), (86, 4.0), (94, 2.0), (96, 0)])
    centre = g.transform(sculpture(g, carving, glow), Rotation_Y=Curve([(0, 0), (96, 240)]))
    motes = dust(g, 3, (1.2, 0.7, 0.3), (0.3, 0.5, 1.4))
    pedestal = g.transform(g.material(g.add("Dome"), (0.08, 0.08, 0.1), metalness=0.8, roughness=0.2),
                           Position_Y=-1.7, Rotation_X=-90, Scale_X=2.4, Scale_Y=2.4, Scale_Z=0.6)
    scene = g.group([centre, tiled_floor(g, tiles), pedestal, motes])
    sun = g.add("DirLight", Direction_X=-0.6, Direction_Y=0.7, Direction_Z=-0.35,
                Color_R=Curve([(0, 0.2), (12, 1.6), (96, 1.6)]), Color_G=Curve([(0, 0.1), (12, 0.9), (96, 0.9)]),
                Color_B=Curve([(0, 0.15), (12, 0.55), (96, 0.55)]))
    rim = g.add("PointLight", Position_X=-3.0, Position_Y=2.5, Position_Z=3.0, Color_R=0.3, Color_G=0.55,
                Color_B=1.0, Radius=12.0, Brightness=Curve([(0, 0), (6, 6.0), (96, 6.0)]))
    lit = g.lit(scene, [(sun, "InScene"), (rim, "SceneIn")])
    dawn_view = g.orbit_camera(lit, Curve([(0, 9.0), (16, 5.5, "hermite")]), 0.8, 0.12, phase=2.2, fov=48,
                               look_down=0.08)
    outro_view = g.orbit_camera(lit, Curve([(80, 5.0), (96, 12.0, "hermite")], before="hold"),
                                Curve([(80, 1.0), (96, 4.5)], before="hold"), 0.2, phase=0.5, fov=46,
                                look_down=0.3)
    return g.section(dawn_view, DAWN, RINGS), g.section(outro_view, OUTRO, END)


def rings(g, knot):
    """Rings of pillars and lamps round a spinning knot, and a tower of cubes echoing the beat."""
    pillar = g.transform(g.material(g.add("Cylinder"), (0.8, 0.82, 0.9), metalness=0.1, roughness=0.6),
                         Scale_X=0.35, Scale_Y=3.5, Scale_Z=0.35, Position_Y=0.05)
    pillars = g.add("Replicate", Count=16, Radius=6.0, Mode="Ring", Orientation="Surface", Seed=1)
    g.draw(pillar, pillars, "InScene")
    # The lamps' glow wanders round the hue circle, once every two bars.
    lamp_surface = g.material(g.add("Dome"), (0.1, 0.1, 0.1))
    hue = g.add("HSV2RGB", Hue=Curve([(0, 0), (BAR, 1)], after="repeat"), Saturation=0.7, value=2.5)
    for channel, port in (("Red", "Emissive.R"), ("Green", "Emissive.G"), ("Blue", "Emissive.B")):
        g.connect(hue, lamp_surface, port, output=channel)
    lamp = g.transform(lamp_surface,
                       Rotation_X=-90, Scale_X=0.5, Scale_Y=0.5, Scale_Z=0.5,
                       Position_Y=beat_pulse(-1.7, -1.2))
    lamps = g.add("Replicate", Count=16, Radius=4.2, Mode="Ring", Orientation="Fixed", Seed=2,
                  Wrap=Curve([(16, 0), (32, 1)]))
    g.draw(lamp, lamps, "InScene")

    shiny = g.material(knot, (0.9, 0.9, 0.95), metalness=0.9, roughness=0.18, emissive=(0.0, 0.08, 0.15))
    centre = g.transform(shiny, Position_Y=1.6, Rotation_X=Curve([(16, 0), (32, 180)]),
                         Rotation_Y=Curve([(16, 0), (32, 360)]), Scale_X=1.2, Scale_Y=1.2, Scale_Z=1.2)

    # The tower: one cube turned a quarter on every beat; each copy above it shows the cube a
    # sixteenth of a second earlier, so the turn ripples up the tower.
    turn = Curve([(0, 0, "hermite"), (BEAT * 0.4, 90), (BEAT, 90)], after="repeat")
    block = g.transform(g.material(g.add("Cube"), (0.9, 0.3, 0.15), metalness=0.4, roughness=0.4,
                                   emissive=(0.25, 0.04, 0.0)),
                        Rotation_Y=turn, Scale_X=0.9, Scale_Y=0.3, Scale_Z=0.9)
    tower = g.add("Repeat", TimeOffset=0.0625, Count=10, Position_Y=0.42, Scale_X=0.93, Scale_Z=0.93)
    g.draw(block, tower, "InScene")
    towers = g.add("Replicate", Count=4, Radius=2.6, Mode="Ring", Orientation="Surface", Seed=5)
    g.draw(g.transform(tower, Position_Y=-1.6), towers, "InScene")

    floor = g.transform(g.material(g.add("Quad"), (0.05, 0.05, 0.07), metalness=0.6, roughness=0.3),
                        Position_Y=-1.7, Scale_X=40, Scale_Z=40)
    scene = g.group([pillars, lamps, centre, towers, floor])
    lights = [(g.add("DirLight", Direction_X=0.4, Direction_Y=0.5, Direction_Z=-0.8,
                     Color_R=0.5, Color_G=0.55, Color_B=0.7), "InScene")]
    for i, colour in enumerate(((1.0, 0.3, 0.8), (0.2, 0.7, 1.0))):
        light = g.add("PointLight", Color_R=colour[0], Color_G=colour[1], Color_B=colour[2], Radius=10.0,
                      Position_Y=1.5, Brightness=beat_pulse(4.0, 14.0))
        g.connect(g.sin(amplitude=3.5, frequency=1.1, phase=i * math.pi), light, "Position.X")
        g.connect(g.sin(amplitude=3.5, frequency=1.1, phase=i * math.pi + math.pi / 2), light, "Position.Z")
        lights.append((light, "SceneIn"))
    view = g.orbit_camera(g.lit(scene, lights), Curve([(16, 11.0), (32, 8.0)]), Curve([(16, 5.0), (32, 2.2)]),
                          0.3, phase=0.3, fov=55, look_down=0.35)
    return g.section(view, RINGS, DROP)


def drop(g, knot, tiles, glow):
    """A cloud of textured cubes round the big knot, shards flying out, everything on the beat."""
    tiled = g.material(g.add("Cube"), (1.0, 1.0, 1.0), metalness=0.1, roughness=0.4,
                       emissive=(1.0, 1.0, 1.0))
    g.draw(tiles, tiled, "AlbedoTex")
    g.draw(glow, tiled, "EmissiveTex")
    spun = g.transform(tiled, Rotation_X=Curve([(32, 0), (48, 720)]), Rotation_Z=Curve([(32, 0), (48, 360)]),
                       Scale_X=beat_pulse(0.45, 0.7), Scale_Y=beat_pulse(0.45, 0.7), Scale_Z=beat_pulse(0.45, 0.7))
    cloud = g.add("Replicate", Count=60, Radius=7.0, Mode="Point", Seed=11, SizeRandom=0.6,
                  RotateRandom_X=180, RotateRandom_Y=180, RotateRandom_Z=180)
    g.draw(spun, cloud, "InScene")
    cloud_turn = g.transform(cloud, Rotation_Y=Curve([(32, 0), (48, -120)]))

    shard = g.transform(g.material(g.add("Prism"), (0.05, 0.05, 0.08), emissive=(0.3, 1.6, 2.6)),
                        Scale_X=0.15, Scale_Y=1.4, Scale_Z=0.15, Rotation_X=90,
                        Position_Y=Curve([(0, -2.0), (BAR * 0.5, 5.0), (BAR, -2.0)], after="repeat"))
    shards = g.add("Replicate", Count=24, Radius=3.2, Mode="Ring", Orientation="Surface", Seed=7,
                   OffsetRandom_Y=1.0, SizeRandom=0.4)
    g.draw(shard, shards, "InScene")

    heart = g.transform(g.material(knot, (0.95, 0.5, 0.12), metalness=0.85, roughness=0.25),
                        Rotation_Y=Curve([(32, 0), (48, 540)]), Rotation_Z=Curve([(32, 0), (48, 200)]),
                        Scale_X=beat_pulse(1.7, 2.0), Scale_Y=beat_pulse(1.7, 2.0), Scale_Z=beat_pulse(1.7, 2.0))
    ball = g.transform(g.material(g.add("Sphere"), (0.02, 0.02, 0.02), emissive=(4.0, 1.6, 0.5)),
                       Scale_X=0.55, Scale_Y=0.55, Scale_Z=0.55)
    scene = g.group([cloud_turn, shards, heart, ball])
    core = g.add("PointLight", Color_R=1.0, Color_G=0.55, Color_B=0.25, Radius=12.0, Brightness=beat_pulse(6, 20))
    key = g.add("DirLight", Direction_X=-0.3, Direction_Y=0.6, Direction_Z=-0.6, Color_R=0.35, Color_G=0.45,
                Color_B=0.8)
    view = g.orbit_camera(g.lit(scene, [(core, "SceneIn"), (key, "InScene")]), Curve([(32, 10.0), (48, 6.5)]),
                          0.6, 0.5, phase=1.0, fov=Curve([(32, 75), (34, 55, "hermite"), (48, 60)]),
                          look_down=0.05, wobble=1.2)
    return g.section(view, DROP, BREAK)


def sparks(g, knot):
    """Fountains of sparks round the carved sculpture, the knot orbiting it."""
    centre = sculpture(g, 1.0, Curve([(64, 3.0), (80, 3.0)]), radius=1.4)
    fountain = g.add("Particles", Rate=900, StartSpeed=7.0, GravityModifier=6.0, Lifetime=1.6,
                     StartSizeMin=0.03, StartSizeMax=0.08, Seed=5, RandomVelPower=1.5,
                     StartColor1_R=6.0, StartColor1_G=2.0, StartColor1_B=0.4,
                     StartColor2_R=3.0, StartColor2_G=0.6, StartColor2_B=2.5,
                     Emitter="Cone", EmitterParam_X=0.35, EmitterParam_Y=0.2)
    fountains = g.add("Replicate", Count=3, Radius=3.4, Mode="Ring", Orientation="Fixed", Seed=3)
    g.draw(g.transform(fountain, Position_Y=-1.7), fountains, "InScene")
    burst = dust(g, 9, (0.4, 1.2, 4.0), (3.0, 3.0, 3.5), rate=400, speed=3.0, gravity=0.5, spread=0.3,
                 lifetime=1.2, size=(0.02, 0.06))
    orbiter = g.transform(g.material(knot, (0.3, 0.9, 1.0), metalness=0.9, roughness=0.2),
                          Scale_X=0.5, Scale_Y=0.5, Scale_Z=0.5, Rotation_X=Curve([(64, 0), (80, 720)]))
    for port, phase in (("Position.X", 0.0), ("Position.Z", math.pi / 2)):
        g.connect(g.sin(amplitude=3.0, frequency=1.6, phase=phase), orbiter, port)
    floor = g.transform(g.material(g.add("Quad"), (0.04, 0.04, 0.05), metalness=0.7, roughness=0.25),
                        Position_Y=-1.7, Scale_X=40, Scale_Z=40)
    scene = g.group([centre, fountains, burst, orbiter, floor])
    warm = g.add("PointLight", Position_Y=0.0, Color_R=1.0, Color_G=0.5, Color_B=0.2, Radius=9.0,
                 Brightness=beat_pulse(5, 16))
    cold = g.add("DirLight", Direction_X=0.5, Direction_Y=-0.4, Direction_Z=-0.7, Color_R=0.3, Color_G=0.5,
                 Color_B=1.0)
    view = g.orbit_camera(g.lit(scene, [(warm, "SceneIn"), (cold, "InScene")]), 8.0, 1.8, -0.35, phase=2.0,
                          fov=52, look_down=0.12, wobble=0.8)
    return g.section(view, SPARKS, OUTRO)


def sprite_over(g, image, texture, alpha, scale=(1.0, 1.0), position=(0.0, 0.0), tint=(1, 1, 1)):
    op = g.add("Sprite", Position_X=position[0], Position_Y=position[1], Color_R=tint[0], Color_G=tint[1],
               Color_B=tint[2], Color_A=alpha, Scale_X=scale[0], Scale_Y=scale[1])
    g.draw(image, op, "ImageIn")
    g.draw(texture, op, "Texture")
    return op


def break_image(g, title):
    """The kaleidoscope, as an image of its own: from 46 s only inside the title's letters, from
    48 s everywhere, until the break ends. Outside that window nothing is drawn and the image is
    clear."""
    kaleido = g.add("ImageShader", Filepath="shaders/kaleido.glsl", Param1_X=2.2, Param1_Y=1.1, Param1_Z=0.35,
                    Param2_X=14.0, Param2_Y=0.15, Param2_Z=beat_pulse(1.5, 3.0, period=2 * BEAT),
                    Param3_X=1.0)
    kaleido_image = g.add("Image", Size_X=960, Size_Y=540, Clear=1.0)
    g.draw(kaleido, kaleido_image, "ImageIn")
    letters = g.add("MaskImage", Threshold=Curve([(0, 0.5, "step"), (BREAK, -1.0, "step")]), ChannelMask_A=1.0)
    g.draw(kaleido_image, letters, "ImageIn")
    g.draw(title, letters, "Mask")
    only = g.add("ImageEval", Start=BREAK - BAR, End=SPARKS)
    g.draw(letters, only, "ImageIn")
    holder = g.add("Image", Size_X=960, Size_Y=540, Clear=1.0, Clear_A=0.0)
    g.draw(only, holder, "ImageIn")
    return holder


def gbuffer_flash(g):
    """The G-buffer's normals times its albedo, in an image of its own, for the flashes in the
    sparks section; drawn only while they show."""
    split = g.add("SplitGBuffer")
    mix = g.add("Blend", Color="Mul", Alpha="Opaque")
    g.connect(split, mix, "ImageA", output="Normal")
    g.connect(split, mix, "ImageB", output="Emissive")
    both = g.add("ImageGroup")
    g.draw(mix, both, "InImage")
    only = g.add("ImageEval", Start=72.0, End=80.0)
    g.draw(both, only, "ImageIn")
    holder = g.add("Image", Size_X=960, Size_Y=540, Clear=1.0, Clear_A=1.0)
    g.draw(only, holder, "ImageIn")
    return holder


def build():
    g = Graph(music="music.ogg")
    g.time = g.add("Time")
    tiles = g.add("Texture", Filepath="tiles.png")
    glow = g.add("Texture", Filepath="glow.png")
    title = g.add("Texture", Filepath="title.png")
    credits = g.add("Texture", Filepath="credits.png")
    knot = g.add("LWO", Filepath="knot.lwo")

    dawn_pass, outro_pass = dawn_and_outro(g, tiles)
    passes = g.group([dawn_pass, rings(g, knot), drop(g, knot, tiles, glow), sparks(g, knot), outro_pass])
    world = g.add("Image", Clear_R=0.01, Clear_G=0.008, Clear_B=0.02, Clear_A=1.0, Clear=1.0)
    g.draw(passes, world, "ImageIn")

    # Ambient occlusion where the geometry is dense (rings, drop); bloom everywhere, strongest on
    # the drop and the sparks.
    ssao = g.add("SSAO", Radius=0.35, FadeEnd=12.0, Power=window(RINGS, BREAK, 2.0, 0.0))
    g.draw(world, ssao, "ImageIn")
    bloom = g.add("Bloom", ExtractThreshold=0.6, Radius=40.0,
                  Intensity=Curve([(0, 0.8), (16, 0.8), (32, 0.6, "step"), (32.01, 2.0), (48, 1.6), (64, 1.8),
                                   (80, 1.2), (96, 0.8)]))
    g.draw(ssao, bloom, "ImageIn")

    # The break over the 3D picture, then the G-buffer flashing on the beats of bars 5-8 of sparks.
    with_break = sprite_over(g, bloom, break_image(g, title),
                             Curve([(0, 0, "step"), (BREAK - BAR, 1.0), (SPARKS - 0.5, 1.0), (SPARKS + 0.5, 0.0)]),
                             scale=(2.0, 2.0))
    flashes = Curve([(0, 0, "step"), (72, 0, "step")] +
                    [(72 + i * BAR + dt, a, "step") for i in range(4) for dt, a in ((0, 0.85), (BEAT, 0.0))] +
                    [(80, 0, "step")])
    with_flash = sprite_over(g, with_break, gbuffer_flash(g), flashes, scale=(2.0, 2.0))
    tone = g.add("ToneMapping", Exposure=Curve([(0, 0), (4, 1.0, "hermite"), (92, 1.0), (96, 0)]))
    g.draw(with_flash, tone, "ImageIn")

    # Titles: "orvane" at dawn and in the outro; "every operator" over the break and the outro.
    named = sprite_over(g, tone, title, Curve([(0, 0), (5, 0), (7, 1), (13, 1), (15.5, 0), (84, 0), (86, 1),
                                               (94, 1), (96, 0)]),
                        scale=(2.5, 2.5), position=(0.0, -0.5), tint=(1.0, 0.85, 0.6))
    credited = sprite_over(g, named, credits, Curve([(0, 0), (52, 0), (53, 1), (62, 1), (63, 0), (87, 0), (88, 1),
                                                     (94, 1), (96, 0)]),
                           scale=(1.3, 1.3), position=(0.0, 0.7), tint=(0.8, 0.95, 1.0))
    fxaa = g.add("FXAA")
    g.draw(credited, fxaa, "ImageIn")
    glitch = Curve([(0, 0, "step")] + [(t + dt, a, "step") for t in (32, 40, 46, 64, 78)
                                      for dt, a in ((0, 0.45), (0.25, 0.0))])
    grain = g.add("Grain", Strength=0.35, Glitch=glitch)
    g.draw(fxaa, grain, "ImageIn")
    g.draw(grain, g.output, "In")
    return g


if __name__ == "__main__":
    print(build().text(), end="")
