#!/usr/bin/env python3
"""Writes ab.dxf: a drawing that stores the layer prefix AB, for the prefix tests.

Layers under the prefix AB, one of them beside the same layer under KB (they collide when AB
becomes KB), and one under a further prefix CD; an entity on each.
Usage: make_ab.py [OUT]   (default: ab.dxf beside this script)
"""
import os
import sys

import ezdxf


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), 'ab.dxf')
    doc = ezdxf.new('R2013')
    doc.header['$INSUNITS'] = 4
    msp = doc.modelspace()
    for i, name in enumerate(('AB_ZT-voda_SV', 'KB_ZT-voda_SV', 'AB_ZT-voda_POŽ',
                              'CD_ZT-voda_POŽ')):
        doc.layers.add(name, color=i + 1)
        msp.add_line((0, i * 10), (100, i * 10), dxfattribs={'layer': name})
    store = doc.rootdict.add_new_dict('DUVADEDE')
    record = store.add_xrecord('PREDPONA')
    record.reset([(1, 'AB')])
    doc.saveas(out)


if __name__ == '__main__':
    main()
