"""Builds the extension module halovane._core with the project's CMake (see
pyproject.toml); the version is the project's, from CMakeLists.txt."""

import os
import pathlib
import re
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

SOURCE = pathlib.Path(__file__).resolve().parent


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        package = pathlib.Path(self.get_ext_fullpath(ext.name)).resolve().parent
        build = pathlib.Path(self.build_temp).resolve() / "cmake"
        subprocess.run(["cmake", "-S", str(SOURCE), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
                        "-DHALOVANE_GUI=OFF", "-DHALOVANE_FIGURES=OFF", "-DHALOVANE_TESTS=OFF",
                        "-DHALOVANE_PYTHON=ON", f"-DPython_EXECUTABLE={sys.executable}",
                        f"-DHALOVANE_PYTHON_DIR={package.parent}"], check=True)
        subprocess.run(["cmake", "--build", str(build), "--target", "halovane_python", "-j", str(os.cpu_count() or 1)],
                       check=True)


version = re.search(r"project\(Halovane VERSION ([0-9.]+)", (SOURCE / "CMakeLists.txt").read_text()).group(1)
setup(
    version=version,
    packages=["halovane"],
    package_dir={"": "python"},
    ext_modules=[Extension("halovane._core", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    options={"build": {"build_base": "build-python"}, "egg_info": {"egg_base": "build-python"}},
)
