#!/usr/bin/env python3
"""Writes stary.dxf: a drawing made under the previous office standard, for the conversion test.

Old text styles beside and without their replacements, old dimension and multileader styles,
a table style, an old layer beside its replacement, old linetypes; texts, dimensions and
multileaders that use them; the old objects are the current ones.
Usage: make_stary.py [OUT]   (default: stary.dxf beside this script)
"""
import os
import re
import sys

import ezdxf
from ezdxf.math import Vec2
from ezdxf.render import mleader


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), 'stary.dxf')
    doc = ezdxf.new('R2013')
    doc.header['$INSUNITS'] = 4

    for name in ('TEXT-020', 'TEXT-035', 'TEXT-050', 'KV_TXT_MALY'):
        doc.styles.new(name, dxfattribs={'font': 'arial.ttf'})

    # Old linetypes: ZTI-SV has no replacement in the drawing, QX-TUV has (TUV).
    for name in ('ZTI-SV', 'QX-TUV', 'TUV'):
        doc.linetypes.new(name, dxfattribs={'description': name, 'pattern': [0.6, 0.5, -0.1]})

    for name in ('KANALIZACE', 'KANALIZACE+'):
        ds = doc.dimstyles.new(name)
        ds.dxf.dimtxsty = 'TEXT-020'

    # QX_SIPKA has no replacement, QX_TECKA has (KV_TECKA).
    for name in ('QX_SIPKA', 'QX_TECKA', 'KV_TECKA'):
        ms = doc.mleader_styles.new(name)
        ms.dxf.text_style_handle = doc.styles.get('TEXT-020').dxf.handle
        ms.dxf.name = ''  # the description (ezdxf repeats the name there): free text, no reference

    doc.layers.add('zti-KOTY', color=1, linetype='QX-TUV')
    doc.layers.add('KB_kóty', color=4)
    doc.layers.add('VODA', color=5, linetype='ZTI-SV')
    doc.layers.add('TEPLA', color=6, linetype='QX-TUV')

    msp = doc.modelspace()
    msp.add_text('maly 020', dxfattribs={'style': 'TEXT-020', 'layer': 'zti-KOTY', 'height': 2})
    msp.add_text('maly 035', dxfattribs={'style': 'TEXT-035', 'layer': 'KB_kóty', 'height': 2})
    msp.add_text('velky 050', dxfattribs={'style': 'TEXT-050', 'layer': 'zti-KOTY', 'height': 3})
    msp.add_mtext('odstavec', dxfattribs={'style': 'TEXT-035', 'layer': 'zti-KOTY'})
    msp.add_line((0, 0), (10, 0), dxfattribs={'linetype': 'ZTI-SV', 'layer': 'VODA'})
    msp.add_line((0, 5), (10, 5), dxfattribs={'linetype': 'QX-TUV', 'layer': 'zti-KOTY'})
    for i, name in enumerate(('KANALIZACE', 'KANALIZACE+')):
        dim = msp.add_linear_dim(base=(0, 20 + 10 * i), p1=(0, 10 + 10 * i), p2=(10, 10 + 10 * i),
                                 dimstyle=name, dxfattribs={'layer': 'zti-KOTY'})
        dim.render()
    for i, name in enumerate(('QX_SIPKA', 'QX_TECKA')):
        ml = msp.add_multileader_mtext(name)
        ml.set_content('odkaz %d' % i, style='TEXT-020')
        ml.add_leader_line(mleader.ConnectionSide.left, [Vec2(50, 50 + 10 * i)])
        ml.build(insert=Vec2(60, 55 + 10 * i))
        ml.multileader.dxf.layer = 'zti-KOTY'

    # The old objects are the current ones.
    doc.header['$TEXTSTYLE'] = 'TEXT-020'
    doc.header['$DIMSTYLE'] = 'KANALIZACE+'
    doc.header['$CELTYPE'] = 'QX-TUV'
    doc.header['$CLAYER'] = 'zti-KOTY'

    # A table style whose rows use the old text styles: ezdxf does not write table styles, so an
    # extension record holds its place in the dictionary and is replaced by its text below.
    tabulky = doc.rootdict.get_required_dict('ACAD_TABLESTYLE')
    misto = tabulky.add_xrecord('KV_TABULKA')
    handle = misto.dxf.handle
    doc.saveas(out)

    text = open(out, encoding='utf-8').read()
    m = re.search(r'(  0\nXRECORD\n  5\n%s\n(?:.*\n)*?)100\nAcDbXrecord\n(?:.*\n)*?(?=  0\n)' % handle, text)
    head = m.group(1).replace('XRECORD', 'TABLESTYLE', 1)
    body = '100\nAcDbTableStyle\n280\n0\n  3\nStara tabulka\n 70\n0\n 71\n0\n 40\n1.5\n 41\n1.5\n280\n0\n281\n0\n'
    for style in ('TEXT-035', 'TEXT-020', 'TEXT-020'):
        body += ('  7\n%s\n140\n2.5\n170\n5\n 62\n0\n 63\n7\n283\n0\n 90\n512\n 91\n0\n  1\n\n' % style)
    text = text[:m.start()] + head + body + text[m.end():]
    # ezdxf does not know the current multileader style among the header variables.
    text = text.replace('  9\n$CLAYER\n', '  9\n$CMLEADERSTYLE\n  2\nQX_TECKA\n  9\n$CLAYER\n', 1)
    with open(out, 'w', encoding='utf-8') as f:
        f.write(text)


if __name__ == '__main__':
    main()
