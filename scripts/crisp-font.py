#!/usr/bin/python3
"""Writes a copy of the Song face that stands in for 宋体 with a grid-fitting table that asks for
black-and-white rendering up to 24 pixels per em, as the Windows Song face's embedded bitmaps
give. The stock face asks for grey smoothing at every size, so Wine draws its unhinted Latin
outlines (answers, digits, "Yes"/"No") in pale grey beside the black bitmap Chinese glyphs.

usage: crisp-font.py SOURCE.ttc DEST.ttf FAMILY"""
import sys

from fontTools.ttLib import TTCollection, newTable

GASP_GRIDFIT, GASP_DOGRAY = 1, 2


def main(source, dest, family):
    collection = TTCollection(source)
    font = next(f for f in collection.fonts if f["name"].getDebugName(1) == "AR PL UMing CN")
    gasp = font["gasp"] if "gasp" in font else newTable("gasp")
    gasp.version = 1
    gasp.gaspRange = {24: GASP_GRIDFIT, 0xFFFF: GASP_GRIDFIT | GASP_DOGRAY}
    font["gasp"] = gasp
    # A family name of its own, so the copy never competes with the system's face.
    for record in font["name"].names:
        text = record.toUnicode()
        if record.nameID in (1, 4, 16) and "AR PL UMing CN" in text:
            record.string = text.replace("AR PL UMing CN", family)
        elif record.nameID == 6:
            record.string = family.replace(" ", "")
    font.save(dest)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
