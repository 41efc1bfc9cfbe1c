#!/usr/bin/env python3
"""Writes demo.opr of the "first-light" example: the operator graph with its curves and connections,
built with the authoring library (tools/orvane_author), which names operators and ports instead of
numbering them. Run it after editing:
    python3 examples/first-light/make_demo.py > examples/first-light/demo.opr
"""

import math
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools"))
from orvane_author import Curve, Demo  # noqa: E402

BEAT = 0.5  # seconds: the music runs at 120 beats per minute


class Graph(Demo):
    """The demo with the two patterns this example repeats: a sine of the time, and a scene or
    image drawn into another operator's input."""

    def draw(self, source, target, target_port):
        """Links the scene or image `source` draws into `target`'s input."""
        self.connect(source, target, target_port)

    def sin(self, value_from, amplitude=1.0, frequency=1.0, phase=0.0, offset=0.0):
        op = self.add("Sin", Amplitude=amplitude, Frequency=frequency, Phase=phase, Offset=offset)
        self.connect(value_from, op, "Value")
        return op


def material(g, scene, color, metalness, roughness, emissive=(0, 0, 0), specular=0.04):
    op = g.add("Material", Color_R=color[0], Color_G=color[1], Color_B=color[2],
               Specular_R=specular, Specular_G=specular, Specular_B=specular,
               Metalness=metalness, Roughness=roughness,
               Emissive_R=emissive[0], Emissive_G=emissive[1], Emissive_B=emissive[2])
    g.draw(scene, op, "sceneIn")
    return op


def transform(g, scene, **values):
    op = g.add("Transform", **values)
    g.draw(scene, op, "InScene")
    return op


def group(g, members):
    op = g.add("Group")
    for member in members:
        g.draw(member, op, "InScene")
    return op


def build():
    g = Graph(music="music.ogg")
    time = g.add("Time")

    # The centre piece: a golden cube turning on two axes, four spheres circling it whose colours
    # wander around the hue circle, and a ring of glowing prisms.
    cube = g.add("Cube")
    gold = material(g, cube, (1.0, 0.71, 0.29), metalness=0.55, roughness=0.32)
    spin = transform(g, gold, Scale_X=1.6, Scale_Y=1.6, Scale_Z=1.6,
                     Rotation_X=Curve([(0, 0), (40, 140)]), Rotation_Y=Curve([(0, 0), (40, 540)]))

    members = [spin]
    sphere = g.add("Sphere")
    for i in range(4):
        hue = g.add("HSV2RGB", Hue=Curve([(0, i / 4), (40, i / 4 + 2)]), Saturation=0.65, value=1.0)
        body = g.add("Material", Specular_R=0.04, Specular_G=0.04, Specular_B=0.04, Metalness=0.0,
                     Roughness=0.35)
        g.draw(sphere, body, "sceneIn")
        for channel, port in (("Red", "Color.R"), ("Green", "Color.G"), ("Blue", "Color.B")):
            g.connect(hue, body, port, output=channel)
        phase = i * math.pi / 2
        x = g.sin(time, amplitude=3.2, frequency=0.6, phase=phase)
        z = g.sin(time, amplitude=3.2, frequency=0.6, phase=phase + math.pi / 2)
        y = g.sin(time, amplitude=0.8, frequency=1.3, phase=phase)
        orbit = transform(g, body, Scale_X=0.7, Scale_Y=0.7, Scale_Z=0.7)
        for source, port in ((x, "Position.X"), (y, "Position.Y"), (z, "Position.Z")):
            g.connect(source, orbit, port)
        members.append(orbit)

    prism = g.add("Prism")
    glow = material(g, prism, (0.05, 0.05, 0.06), metalness=0.2, roughness=0.5, emissive=(0.04, 0.3, 0.75))
    for i in range(8):
        a = i * 45
        members.append(transform(g, glow, Position_X=6.5 * math.sin(math.radians(a)), Position_Y=-0.5,
                                 Position_Z=6.5 * math.cos(math.radians(a)), Rotation_Y=a,
                                 Scale_X=0.35, Scale_Y=3.0, Scale_Z=0.35))

    # Lights of the centre piece: a warm key light and two coloured point lights circling it,
    # pulsing with the beat once the kick comes in (8 s).
    centre = group(g, members)
    # A directional light's ports are swizzled: the way it travels is (X, Z, Y) of its inputs, so
    # this one comes down from above, from the left and from behind the camera's start.
    key = g.add("DirLight", Direction_X=0.45, Direction_Y=0.5, Direction_Z=-0.8,
                Color_R=1.5, Color_G=1.3, Color_B=1.05)
    g.draw(centre, key, "InScene")
    pulse = g.add("Sin", Amplitude=Curve([(0, 0), (7.9, 0, "step"), (8, 5.0), (24, 5.0, "step"), (28, 1.5),
                                          (38, 5.0)]),
                  Frequency=2 * math.pi / BEAT, Phase=math.pi / 2, Offset=9.0)
    g.connect(time, pulse, "Value")
    lit = key
    for i, colour in enumerate(((0.2, 0.9, 1.0), (1.0, 0.25, 0.7))):
        light = g.add("PointLight", Color_R=colour[0], Color_G=colour[1], Color_B=colour[2], Radius=9.0)
        px = g.sin(time, amplitude=4.0, frequency=0.9, phase=i * math.pi)
        pz = g.sin(time, amplitude=4.0, frequency=0.9, phase=i * math.pi + math.pi / 2)
        py = g.sin(time, amplitude=1.5, frequency=0.45, phase=i, offset=1.5)
        for source, port in ((px, "Position.X"), (py, "Position.Y"), (pz, "Position.Z")):
            g.connect(source, light, port)
        g.connect(pulse, light, "Brightness")
        g.draw(lit, light, "SceneIn")
        lit = light

    # The camera circles the scene, rising and falling, always looking at the centre.
    camera = g.add("Camera", FOV=Curve([(0, 70, "bezier"), (6, 50, "hermite"), (40, 44, "hermite")]), zNear=0.1, zFar=200.0)
    cx = g.sin(time, amplitude=10.0, frequency=0.16)
    cz = g.sin(time, amplitude=-10.0, frequency=0.16, phase=math.pi / 2)
    cy = g.sin(time, amplitude=1.8, frequency=0.23, offset=3.2)
    dx = g.sin(time, amplitude=-10.0, frequency=0.16)
    dz = g.sin(time, amplitude=10.0, frequency=0.16, phase=math.pi / 2)
    dy = g.sin(time, amplitude=-1.8, frequency=0.23, offset=-3.2)
    for source, port in ((cx, "Position.X"), (cy, "Position.Y"), (cz, "Position.Z"),
                         (dx, "Direction.X"), (dy, "Direction.Y"), (dz, "Direction.Z")):
        g.connect(source, camera, port)
    g.draw(lit, camera, "InScene")
    first_pass = g.add("LightPass")
    g.draw(camera, first_pass, "SceneIn")

    # The second light pass: a dark polished floor lit by a light that sweeps across it.
    quad = g.add("Quad")
    floor_material = material(g, quad, (0.08, 0.08, 0.1), metalness=0.6, roughness=0.22)
    floor = transform(g, floor_material, Position_Y=-2.0, Scale_X=40.0, Scale_Y=1.0, Scale_Z=40.0)
    sweep = g.add("PointLight", Position_Y=-0.8, Color_R=1.0, Color_G=0.55, Color_B=0.25, Radius=14.0,
                  Brightness=Curve([(0, 0), (4, 0), (8, 14.0), (24, 14.0), (26, 4.0),
                                    (28, 14.0)]))
    sx = g.sin(time, amplitude=6.0, frequency=0.5)
    g.connect(sx, sweep, "Position.X")
    g.draw(floor, sweep, "SceneIn")
    second_pass = g.add("LightPass")
    g.draw(sweep, second_pass, "SceneIn")

    # Both passes draw into one image over a deep blue background, then the post effects.
    passes = group(g, [first_pass, second_pass])
    image = g.add("Image", Clear_R=0.004, Clear_G=0.006, Clear_B=0.02, Clear_A=1.0, Clear=1.0)
    g.draw(passes, image, "ImageIn")
    tone = g.add("ToneMapping", Exposure=Curve([(0, 0), (3, 1.1), (36, 1.1), (40, 0)]))
    g.draw(image, tone, "ImageIn")
    fxaa = g.add("FXAA")
    g.draw(tone, fxaa, "ImageIn")
    grain = g.add("Grain", Strength=0.6, Glitch=Curve([(0, 0), (23.9, 0, "step"), (24, 0.35), (24.6, 0, "step"),
                                                       (40, 0, "step")]))
    g.draw(fxaa, grain, "ImageIn")
    g.draw(grain, g.output, "In")
    return g


if __name__ == "__main__":
    print(build().text(), end="")
