"""The manifest as every Windows reads it, XP's strict reader too: the identity
first, with the version of the version block and the build's processor; every
element in a namespace XP SP3 knows, the DPI settings each in its own; no
execution level (the INI's writes stay redirected), no other common controls.
   check_manifest.py MANIFEST VERSION_RESOURCE ARCH
Prints one line per fault; exits 1 if there is any."""
import struct
import sys
import xml.etree.ElementTree as ET

ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
SMI_2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
SMI_2016 = "http://schemas.microsoft.com/SMI/2016/WindowsSettings"
PLACE = {"assembly": ASM_V1, "assemblyIdentity": ASM_V1, "application": ASM_V3,
         "windowsSettings": ASM_V3, "dpiAware": SMI_2005, "dpiAwareness": SMI_2016}


def file_version(resource):
    """The FILEVERSION of a version resource, as a.b.c.d."""
    at = resource.index(struct.pack("<I", 0xFEEF04BD))
    high, low = struct.unpack_from("<II", resource, at + 8)
    return "%d.%d.%d.%d" % (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)


def faults(manifest, version, arch):
    root = ET.fromstring(manifest)
    for element in root.iter():
        space, _, name = element.tag[1:].partition("}")
        if PLACE.get(name) != space:
            yield "<%s> in namespace %s, not %s" % (name, space, PLACE.get(name))
    children = list(root)
    identity = children[0] if children else None
    if identity is None or identity.tag != "{%s}assemblyIdentity" % ASM_V1:
        yield "the first child of <assembly> is not <assemblyIdentity>"
        return
    wanted = {"type": "win32", "version": version, "processorArchitecture": arch}
    for key, value in wanted.items():
        if identity.get(key) != value:
            yield "assemblyIdentity %s is %r, not %r" % (key, identity.get(key), value)
    if not identity.get("name"):
        yield "assemblyIdentity has no name"
    settings = {e.tag.partition("}")[2]: (e.text or "").strip() for e in root.iter()}
    if settings.get("dpiAwareness") != "PerMonitorV2, PerMonitor":
        yield "dpiAwareness is not per monitor (v2)"
    if settings.get("dpiAware") != "true/pm":
        yield "dpiAware is not true/pm"


def main():
    manifest = open(sys.argv[1], "rb").read()
    version = file_version(open(sys.argv[2], "rb").read())
    found = list(faults(manifest, version, sys.argv[3]))
    for fault in found:
        print(fault)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
