"""What the ezdxf scripts (dxf_roundtrip.py, dxf_join_check.py) check in
every file rrensen-dxf writes: ezdxf's audit, and the handles of the
ENTITIES section, unique and below $HANDSEED."""


def read_tags(path):
    """The file's tags as (code, value) pairs, line ends and blanks removed."""
    with open(path, "rb") as f:
        lines = f.read().decode("utf-8", "replace").splitlines()
    return [(int(lines[i]), lines[i + 1].rstrip()) for i in range(0, len(lines) - 1, 2)]


def written_errors(doc, path, where):
    """ezdxf's audit of `doc`, read from `path`, and its handles. The
    handles are read as text: ezdxf gives objects that R12 lacks handles of
    their own, and R12's DIMSTYLE uses group code 5 for a block name."""
    errors = ["%s: audit: %s" % (where, e.message) for e in doc.audit().errors]
    tags = read_tags(path)
    start = tags.index((2, "ENTITIES"))
    handles = [v for c, v in tags[start:tags.index((0, "ENDSEC"), start)] if c == 5]
    if len(handles) != len(set(handles)):
        errors.append("%s: a handle is used twice" % where)
    if any(int(h, 16) >= int(doc.header["$HANDSEED"], 16) for h in handles):
        errors.append("%s: $HANDSEED is not above every handle" % where)
    return errors
