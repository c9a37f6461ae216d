"use strict";
// The automatic reload, off by default: while its box is ticked the page reloads
// every RELOAD_SECONDS and keeps the view (the fragment survives a reload, the
// rest goes through the history entry's state). The setting is remembered in the
// browser's storage, which takes a while to open, so it is read only when the box
// comes near the window or at the first round, whichever is first.
(function (viewer) {
    const RELOAD_KEY = "mirudana-viewer-reload";
    viewer.RELOAD_SECONDS = 30;

    // The view the last automatic reload kept, taken once; undefined without one.
    viewer.keptView = function () {
        const view = history.state?.view;
        if (view) history.replaceState(null, "");
        return view;
    };

    // Reloads while `box` is ticked; view() gives the view to keep.
    viewer.autoReload = function (box, view) {
        let read = false;
        function readSetting() {
            if (read) return;
            read = true;
            box.checked = localStorage.getItem(RELOAD_KEY) === "1";
        }
        box.addEventListener("change", () => {
            read = true;
            localStorage.setItem(RELOAD_KEY, box.checked ? "1" : "0");
        });
        if ("IntersectionObserver" in globalThis) {
            const near = new IntersectionObserver((entries) => {
                if (!entries.some((entry) => entry.isIntersecting)) return;
                near.disconnect();
                readSetting();
            }, { rootMargin: "100% 0px" });
            near.observe(box);
        } else {
            readSetting();
        }
        setInterval(() => {
            readSetting();
            if (!box.checked) return;
            history.replaceState({ view: view() }, "");
            location.reload();
        }, viewer.RELOAD_SECONDS * 1000);
    };
})(globalThis.viewer ??= {});
