<script>
window.addEventListener("scroll", function (event) {
/* next scroll handler code goes here, mlkdfjlkweij5tphjlkweqkjsdjklg do not change this line in any case */
}, { passive: true });
</script>
