#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/.

The seeds are committed; run this again only to change them."""
import os
import stat
import zipfile

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def put(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def record(version, folder, mark="   "):
    return (version + folder.ljust(69)[:69] + mark + "\r\n").encode("latin-1")


# register: flag byte, the "mf" file, "=RM=", the "rm" file.
mf = record("06.000", "C:\\QOV\\EMPRESA") + record("05.201", "D:\\OUTRA") + \
    record("06.000", "C:\\QOV\\EMPRESA", "pos") + b" " * 78 + b"\r\n"
rm = record("06.002", "C:\\QOV\\EMPRESA") + record("06.001", "\\\\SERVER\\QOV")
put("register", "records", b"0" + mf + b"=RM=" + rm)
put("register", "pos-no-rm", b"6" + mf)
put("register", "no-mf", b"1=RM=" + rm)
put("register", "lf-lines", b"0" + mf.replace(b"\r\n", b"\n") + b"=RM=" + rm[:100])
put("register", "short-last", b"4" + mf[:-30] + b"=RM=" + b"06.000C:\\QOV\\EMPRESA\n\n\r\n")
put("register", "binary", b"0" + bytes(range(256)) * 2 + b"\n06.000C:\\QOV\\EMPRESA" + b"x" * 90)
put("register", "empty", b"0=RM=")


def zip_seed(name, entries, method=zipfile.ZIP_DEFLATED):
    path = os.path.join(HERE, "extraction", name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with zipfile.ZipFile(path, "w", method) as z:
        for entry in entries:
            entry_name, data = entry[0], entry[1]
            info = zipfile.ZipInfo(entry_name)
            info.compress_type = method
            if len(entry) > 2:
                info.external_attr = entry[2] << 16
                info.create_system = 3
            z.writestr(info, data)


zip_seed("nested", [("QOVEXEMF/SP2IMA32.DLL", "demo dll"), ("dados/2024/caixa.dat", "x" * 3000),
                    ("win\\sub\\back.txt", "backslashes"), ("vazio/", "")])
zip_seed("stored-replace", [("qov/OLD.TXT", "replaced"), ("QOV.BAT", "@echo demo")],
         zipfile.ZIP_STORED)
zip_seed("through-link", [("link/evil.txt", "must not leave"), ("LINK\\sub\\x", "nor this")])
zip_seed("dot-dot", [("good.txt", "g"), ("a/../../evil.txt", "e")])
zip_seed("backslash-dot-dot", [("..\\evil.txt", "e")])
zip_seed("rooted", [("/tmp/evil.txt", "e"), ("\\evil.txt", "e")])
zip_seed("drive", [("C:evil.txt", "e")])
zip_seed("symlink", [("link2", "/etc", stat.S_IFLNK | 0o777)])
zip_seed("device", [("dev", "", stat.S_IFCHR | 0o644)])
zip_seed("file-over-folder", [("QOV", "a file where a folder is")])

# answer_file
put("answer_file", "apl", "key 286\nkey 281\nkey 306\nfolder C:\\QOV\\EMPRESA\n")
put("answer_file", "update", "# o painel\nselect 2\nkey 15 # OK\nanswer y\ncancel\nanswer -\n")
put("answer_file", "accents", "folder C:\\Programas\\Moçambique\\" + "x" * 90 + "\nkey -5\n")
put("answer_file", "bad", "key 99999\n")

# command_line
put("command_line", "launch", "set cobdir=qovxxx & %comspec% /C call qov.bat")
put("command_line", "regsvr32", "C:\\WINDOWS\\system32\\regsvr32.exe /s C:\\WINDOWS\\system32\\comdlg32.ocx")
put("command_line", "quotes", "set \"a=b c\" & echo a^&b \"c&d\" %CD% & call \"C:\\Minha Pasta\\x.bat\" 1 \"2 3\"")
put("command_line", "refused", "set x=1 && prog | more > out")
put("command_line", "cmd-inner", "cmd /K \"echo %x% & set y=\"")

# windows_names: names, one a line; the last is resolved.
put("windows_names", "drive-root", "C:\\QOV\\EMPRESA\\dados\\..\\..\\..\\..\\WINDOWS")
put("windows_names", "relative", "d:\\autorun\\bin\nC:QOV\n..\\..\\..\\x")
put("windows_names", "share", "\\\\server\\qov\\Dados\n\\..\\..\\outside")
put("windows_names", "mixed", "c:/qov/./empresa/\n\\\n/..\\..//c\\secret.txt. .")
