"""Builds the package varnel with its compiled splitter.

The extension is compiled by the project's own CMake build from the C++
sources of the tree above this directory, for the interpreter that runs this
script, so that the package splits exactly as the library does:

    python3 -m pip install --no-index --no-build-isolation ./python
"""

import os
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def read_version():
    with open(os.path.join(ROOT, "VERSION")) as f:
        return f.read().strip()


class CMakeBuild(build_ext):
    """Builds varnel._varnel with CMake instead of setuptools' compiler."""

    def build_extension(self, ext):
        build_dir = os.path.abspath(os.path.join(self.build_temp, "cmake"))
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL") or str(os.cpu_count() or 1)
        subprocess.run(["cmake", "-S", ROOT, "-B", build_dir, "-DVARNEL_TESTS=OFF",
                        "-DPython3_EXECUTABLE=" + sys.executable], check=True)
        subprocess.run(["cmake", "--build", build_dir, "--target", "_varnel", "-j", jobs],
                       check=True)
        # CMake names the module as this interpreter does (its SOABI).
        name = os.path.basename(self.get_ext_filename(ext.name))
        built = os.path.join(build_dir, "python", "varnel", name)
        if not os.path.isfile(built):
            raise RuntimeError("CMake built no %s in %s" % (name, os.path.dirname(built)))
        target = self.get_ext_fullpath(ext.name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(built, target)


setup(
    name="varnel",
    version=read_version(),
    description="Cuts running Chinese and English text, GBK or UTF-8, into sentences",
    packages=["varnel"],
    package_data={"varnel": ["py.typed", "*.pyi"]},
    ext_modules=[Extension("varnel._varnel", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    python_requires=">=3.10",
    zip_safe=False,
)
