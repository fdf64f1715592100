#!/usr/bin/env python3
"""Tests of tools/apt-install: the way through a mirror caught mid-sync, and the message when a
package cannot be had. Two kinds of apt-get stand behind it:

- a fake one that fails what each case says and logs how it was called (no network, no apt);
- the real apt-get in simulation (-s) against a scratch configuration: a file: repository
  whose security suite has an i386 index that does not match its Release file, as a mirror
  mid-sync serves it, while the lists still hold the suite's older amd64 index. That is the
  state that made a plain install fail with "held broken packages" on a fresh machine.

Usage: apt_install_test.py PATH_TO_APT_INSTALL"""
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import textwrap
import unittest

APT_INSTALL = None
# apt's messages are matched below: in English, whatever the tests' locale.
ENGLISH = dict(os.environ, LC_ALL="C.UTF-8", LANGUAGE="")

FAKE_APT_GET = textwrap.dedent("""\
    #!/bin/sh
    # Fails what FAKE_* say; logs each call.
    echo "$*" >>"$FAKE_LOG"
    case " $* " in
      *" update "*)
        n=$(grep -c "update" "$FAKE_LOG")
        [ "$n" -le "${FAKE_UPDATE_FAILS:-0}" ] && { echo "E: Failed to fetch ... Mirror sync in progress?" >&2; exit 100; }
        exit 0 ;;
    esac
    for p in $FAKE_UNAVAILABLE; do
      case " $* " in *" $p "*) echo "E: Unable to locate package $p" >&2; exit 100 ;; esac
    done
    case " $* " in
      *" -s "*) exit 0 ;;
      *" -t "*) [ "${FAKE_RELEASE:-ok}" = ok ] && exit 0 ;;
      *) [ "${FAKE_PLAIN:-ok}" = ok ] && exit 0 ;;
    esac
    echo "E: Unable to correct problems, you have held broken packages." >&2
    exit 100
    """)


def run_apt_install(packages, apt_get, extra_env=None):
    env = dict(ENGLISH, APT_GET=apt_get, APT_RETRY_PAUSE="0", APT_RELEASE="bookworm")
    env.update(extra_env or {})
    return subprocess.run([APT_INSTALL] + packages, env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True, timeout=120)


class FakeAptGet(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="apt-install-fake-")
        self.fake = os.path.join(self.dir, "apt-get")
        with open(self.fake, "w") as f:
            f.write(FAKE_APT_GET)
        os.chmod(self.fake, 0o755)
        self.log = os.path.join(self.dir, "calls")

    def tearDown(self):
        shutil.rmtree(self.dir)

    def calls(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return [line.split()[0] + (" -t" if " -t " in line + " " else "") + (" -s" if " -s " in line else "")
                    for line in f]

    def test_paths(self):
        probes = ["snimanje-probe-a", "snimanje-probe-b"]
        cases = [
            # name, fake's behaviour, exit status, calls, texts expected, texts not expected
            ("everything readable", {}, 0, ["update", "install"], [], ["release suite", "failed"]),
            ("index read on the second try", {"FAKE_UPDATE_FAILS": "1"}, 0,
             ["update", "update", "install"], ["attempt 1 of 3"], ["attempt 2", "release suite"]),
            ("index never read, release suite resolves",
             {"FAKE_UPDATE_FAILS": "9", "FAKE_PLAIN": "fail"}, 0,
             ["update", "update", "update", "install", "install -t"],
             ["attempt 3 of 3", "going on with what was read", "release suite alone (-t bookworm)"], []),
            ("one package is nowhere", {"FAKE_UNAVAILABLE": "snimanje-probe-b"}, 1,
             ["update", "install", "install -t", "install -t -s", "install -t -s"],
             ["cannot be installed from the configured sources: snimanje-probe-b\n"], []),
            ("each resolves alone, not together", {"FAKE_PLAIN": "fail", "FAKE_RELEASE": "fail"}, 1,
             ["update", "install", "install -t", "install -t -s", "install -t -s"],
             ["snimanje-probe-a snimanje-probe-b failed although each package resolves on its own"], []),
        ]
        for name, behaviour, status, calls, expected, unexpected in cases:
            with self.subTest(name):
                if os.path.exists(self.log):
                    os.remove(self.log)
                r = run_apt_install(probes, self.fake, dict(behaviour, FAKE_LOG=self.log))
                self.assertEqual(r.returncode, status, r.stderr)
                self.assertEqual(self.calls(), calls)
                for text in expected:
                    self.assertIn(text, r.stderr)
                for text in unexpected:
                    self.assertNotIn(text, r.stderr)

    def test_installed_packages_ask_nothing(self):
        r = run_apt_install(["dpkg"], self.fake, {"FAKE_LOG": self.log})
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(r.stderr, "")
        self.assertEqual(self.calls(), [])


def packages_index(version, arch):
    return textwrap.dedent(f"""\
        Package: snimanje-probe-lib
        Version: {version}
        Architecture: {arch}
        Multi-Arch: same
        Maintainer: Snimanje <snimanje@localhost>
        Filename: pool/snimanje-probe-lib_{version}_{arch}.deb
        Size: 1000
        Description: probe of the mid-sync mirror

        """).encode()


class ScratchRepository(unittest.TestCase):
    """A bookworm suite with the library at 1.0 on both architectures, a bookworm-security
    suite with it at 1.1. armhf stands for the foreign architecture, so that the script leaves
    this machine's dpkg configuration alone."""
    ARCHS = ("amd64", "armhf")

    @classmethod
    def setUpClass(cls):
        if shutil.which("apt-get") is None:
            raise unittest.SkipTest("no apt-get on this machine")
        cls.dir = tempfile.mkdtemp(prefix="apt-install-repo-")
        for sub in ("lists/partial", "cache", "parts"):
            os.makedirs(os.path.join(cls.dir, sub))
        open(os.path.join(cls.dir, "status"), "w").close()
        with open(os.path.join(cls.dir, "sources.list"), "w") as f:
            for suite in ("bookworm", "bookworm-security"):
                f.write(f"deb [trusted=yes] file:{cls.dir}/repo {suite} main\n")
        cls.apt_get = " ".join(["apt-get"] + ["-o %s=%s/%s" % option for option in (
            ("Dir::Etc::sourcelist", cls.dir, "sources.list"), ("Dir::Etc::sourceparts", cls.dir, "parts"),
            ("Dir::Etc::preferencesparts", cls.dir, "parts"), ("Dir::State::Lists", cls.dir, "lists"),
            ("Dir::State::status", cls.dir, "status"), ("Dir::Cache", cls.dir, "cache"))]
                                + ["-o Acquire::Languages=none -o APT::Sandbox::User=root"])
        # The lists as an earlier update left them: the host's architecture only, all indexes good.
        cls.write_repository(broken_foreign_security=False)
        subprocess.run(cls.apt_get.split() + ["-o", "APT::Architectures::=amd64", "update", "-qq"],
                       check=True, stdout=subprocess.DEVNULL)
        # Then the mirror goes mid-sync and the foreign architecture is added: every update of
        # the security suite now fails, and the suite keeps its older lists.
        cls.write_repository(broken_foreign_security=True)
        cls.apt_get_both = cls.apt_get + "".join(" -o APT::Architectures::=" + a for a in cls.ARCHS)
        subprocess.run(cls.apt_get_both.split() + ["update", "-qq"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        # -s is refused beside update; the option is not.
        cls.simulating = cls.apt_get_both + " -o APT::Get::Simulate=true"

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.dir)

    @classmethod
    def write_repository(cls, broken_foreign_security):
        for suite, version in (("bookworm", "1.0"), ("bookworm-security", "1.1")):
            sums = []
            for arch in cls.ARCHS:
                rel = f"main/binary-{arch}/Packages"
                path = os.path.join(cls.dir, "repo/dists", suite, rel)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                data = packages_index(version, arch)
                sums.append(f" {hashlib.sha256(data).hexdigest()} {len(data)} {rel}")
                if broken_foreign_security and suite == "bookworm-security" and arch != "amd64":
                    data = data[:-20]  # not yet the index that the Release file describes
                with open(path, "wb") as f:
                    f.write(data)
            with open(os.path.join(cls.dir, "repo/dists", suite, "Release"), "w") as f:
                f.write(f"Suite: {suite}\nCodename: {suite}\nDate: Mon, 07 Dec 2026 23:22:40 UTC\n"
                        f"Architectures: {' '.join(cls.ARCHS)}\nComponents: main\nSHA256:\n"
                        + "\n".join(sums) + "\n")

    def test_mid_sync_index_is_survived_through_the_release_suite(self):
        # Beforehand: the plain install really is unresolvable in this state.
        plain = subprocess.run(self.apt_get_both.split() + ["install", "-s", "-qq", "snimanje-probe-lib",
                                                            "snimanje-probe-lib:armhf"],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, env=ENGLISH)
        self.assertNotEqual(plain.returncode, 0)
        self.assertIn("held broken packages", plain.stderr)

        r = run_apt_install(["snimanje-probe-lib", "snimanje-probe-lib:armhf"], self.simulating)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn("Hash Sum mismatch", r.stderr)
        self.assertIn("attempt 3 of 3", r.stderr)
        self.assertIn("held broken packages", r.stderr)
        self.assertIn("trying the release suite alone (-t bookworm)", r.stderr)

    def test_a_package_in_no_suite_is_named(self):
        r = run_apt_install(["snimanje-probe-lib", "snimanje-probe-missing"], self.simulating)
        self.assertEqual(r.returncode, 1, r.stderr)
        self.assertIn("cannot be installed from the configured sources: snimanje-probe-missing\n", r.stderr)


if __name__ == "__main__":
    APT_INSTALL = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
